// What tells one version of a file from another without reading it: the
// device and inode the path leads to (through links), its size and its
// modification time. A file replaced by a rename, rewritten in place, or
// replaced by a link to another file has another identity.
#pragma once

#include <QString>

#include <cstdint>

class FileIdentity {
public:
    FileIdentity() = default;
    // The file the path names now; an absent identity when there is none.
    static FileIdentity of(const QString& path);

    bool exists() const { return m_exists; }
    bool operator==(const FileIdentity&) const = default;

    // As a line of text and back, to be kept beside a copy of the text.
    QString toString() const;
    static FileIdentity fromString(QStringView text);

private:
    bool m_exists = false;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_size = 0;
    std::int64_t m_modifiedNs = 0;
};
