#include "editor/HtmlExport.h"

#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"
#include "resources/style.h"

#include <QIODevice>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace HtmlExport {
namespace {

// Blocks of about this many bytes or characters are coloured at a time:
// large enough for few calls, small enough to stay in the cache. The page
// goes to the sink in larger blocks.
constexpr qsizetype kBlock = qsizetype(1) << 16;
constexpr qsizetype kPageBlock = qsizetype(1) << 20;
// Characters put between two checks of the room left: each takes at most
// eight bytes of the page ("&quot;" and the UTF-8 of a character are less).
constexpr qsizetype kSlice = 4096;
constexpr qsizetype kPieceRoom = 8;

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;

// Eight bytes or classes at a time, where most are alike.
std::uint64_t load8(const void* p)
{
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return x;
}
constexpr std::uint64_t zeroBytes(std::uint64_t x) { return (x - kOnes) & ~x & kHighs; }
// Whether all eight bytes stand for themselves in the page: ASCII, no CR,
// none of the four marks that are escaped.
constexpr bool plainBytes(std::uint64_t x)
{
    return ((x & kHighs) | zeroBytes(x ^ (kOnes * '\r')) | zeroBytes(x ^ (kOnes * '&')) | zeroBytes(x ^ (kOnes * '<')) |
            zeroBytes(x ^ (kOnes * '>')) | zeroBytes(x ^ (kOnes * '"'))) == 0;
}

const HighlightEngine& engine()
{
    static const HighlightEngine e;
    return e;
}

QByteArray hexColour(ColourRef c)
{
    char s[8];
    std::snprintf(s, sizeof s, "#%02x%02x%02x", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF),
                  unsigned((c >> 16) & 0xFF));
    return QByteArray(s);
}

const char* escapeOf(char16_t u)
{
    switch (u) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return nullptr;
    }
}

// The end of the last whole line of bytes[0, size); 0 when there is none. A
// CR at the very end is no line end yet: its LF may be still to come.
qsizetype lastLineEnd(const char* bytes, qsizetype size)
{
    for (qsizetype i = size - 1; i >= 0; --i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && i + 1 < size))
            return i + 1;
    }
    return 0;
}

// The text in blocks of whole lines.
bool addTextInBlocks(PageWriter& page, QStringView text)
{
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.size();
        if (end - at > kBlock) {
            const qsizetype nl = text.lastIndexOf(u'\n', at + kBlock - 1);
            const qsizetype next = nl >= at ? nl : text.indexOf(u'\n', at + kBlock);
            end = next < 0 ? text.size() : next + 1;
        }
        if (!page.addText(text.sliced(at, end - at)))
            return false;
        at = end;
    }
    return true;
}

// A block of whole lines of a script file and the class of each character,
// once they are known.
struct ColouredBlock {
    QByteArray bytes;
    std::vector<std::uint8_t> classes;

    void colour(QString& text)
    {
        textcodec::decode(bytes, text);
        classes = engine().highlight(text, 0, -1).classes;
    }
};

// Reads a script file a block of whole lines at a time on a thread of its
// own, a few blocks ahead of the page being written, and colours two blocks
// in three there. Colouring a block takes about twice as long as writing its
// page, so the writing thread colours the third itself, and the two threads
// keep pace.
class ColouringReader {
public:
    explicit ColouringReader(QIODevice& script) : m_script(script), m_thread([this] { run(); }) {}
    ~ColouringReader()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    ColouringReader(const ColouringReader&) = delete;
    ColouringReader& operator=(const ColouringReader&) = delete;

    // The next block in place of the one before; false at the end of the
    // file, or when it could not be read.
    bool next(ColouredBlock& block)
    {
        std::unique_lock lock(m_mutex);
        // The one before goes back to the reading thread: its memory is
        // reused there, not handed between the threads' heaps each time.
        if (block.bytes.capacity() > 0)
            m_spent.push_back(std::move(block));
        m_changed.wait(lock, [this] { return !m_ready.empty() || m_done; });
        if (m_ready.empty())
            return false;
        block = std::move(m_ready.front());
        m_ready.pop_front();
        m_changed.notify_all();
        return true;
    }
    // Why the file could not be read to its end; empty when it could.
    QString error() const
    {
        const std::lock_guard lock(m_mutex);
        return m_error;
    }

private:
    void run()
    {
        const QString error = readBlocks();
        const std::lock_guard lock(m_mutex);
        m_error = error;
        m_done = true;
        m_changed.notify_all();
    }
    QString readBlocks();
    ColouredBlock spentBlock()
    {
        const std::lock_guard lock(m_mutex);
        if (m_spent.empty())
            return {};
        ColouredBlock block = std::move(m_spent.front());
        m_spent.pop_front();
        return block;
    }
    // Hands a block over, waiting while enough are ready; false once the
    // page has stopped taking them.
    bool hand(ColouredBlock&& block)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_ready.size() < 2 || m_stopped; });
        if (m_stopped)
            return false;
        m_ready.push_back(std::move(block));
        m_changed.notify_all();
        return true;
    }

    QIODevice& m_script;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<ColouredBlock> m_ready;
    std::deque<ColouredBlock> m_spent;  // written out: to be reused here
    bool m_done = false;                // no block will come any more
    bool m_stopped = false;             // the page takes no block any more
    QString m_error;
    std::thread m_thread;  // last: it starts once the rest is there
};

QString ColouringReader::readBlocks()
{
    QByteArray buffer(kBlock, Qt::Uninitialized);
    QString text;
    qsizetype have = 0;  // bytes read and not yet handed over: the start of a line
    qint64 total = 0;
    int blocks = 0;
    for (;;) {
        if (buffer.size() < have + kBlock)
            buffer.resize(have + kBlock);
        const qint64 got = m_script.read(buffer.data() + have, kBlock);
        if (got < 0)
            return m_script.errorString();
        total += got;
        if (total > textcodec::kMaxScriptBytes)
            return str::kScriptTooLarge;
        have += got;
        const qsizetype cut = got == 0 ? have : lastLineEnd(buffer.constData(), have);
        if (cut > 0) {
            ColouredBlock block = spentBlock();
            block.bytes.resize(cut);
            std::memcpy(block.bytes.data(), buffer.constData(), std::size_t(cut));
            block.classes.clear();
            if (blocks++ % 3 != 0)
                block.colour(text);
            if (!hand(std::move(block)))
                return QString();
        }
        if (got == 0)
            return QString();
        std::memmove(buffer.data(), buffer.constData() + cut, std::size_t(have - cut));
        have -= cut;
    }
}

}  // namespace

PageWriter::PageWriter(const SyntaxColours& colours, QStringView title, Sink sink) : m_sink(std::move(sink))
{
    for (int b = 0; b < 256; ++b) {
        Piece& p = m_pieces[std::size_t(b)];
        const char16_t u = textcodec::decodeByte(static_cast<unsigned char>(b)).unicode();
        if (const char* escape = escapeOf(u)) {
            p.size = std::uint8_t(std::strlen(escape));
            std::memcpy(p.bytes, escape, p.size);
        } else if (u < 0x80) {
            p = Piece{{char(u)}, 1};
        } else if (u < 0x800) {
            p = Piece{{char(0xC0 | (u >> 6)), char(0x80 | (u & 0x3F))}, 2};
        } else {
            p = Piece{{char(0xE0 | (u >> 12)), char(0x80 | ((u >> 6) & 0x3F)), char(0x80 | (u & 0x3F))}, 3};
        }
    }
    for (int c = 0; c < kTextClassCount; ++c) {
        m_colours[std::size_t(c)] = colours.forClass(TextClass(c));
        m_openers[std::size_t(c)] = "<span style=\"color:" + hexColour(m_colours[std::size_t(c)]) + "\">";
    }
    m_out.resize(std::size_t(kPageBlock + kSlice * kPieceRoom));

    const QByteArray tab = QByteArray::number(res::kTabWidth);
    append("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
    putText(title);
    append(
        "</title>\n<style>\npre { font-family: \"Courier New\", Courier, \"Liberation Mono\", "
        "\"DejaVu Sans Mono\", monospace; font-size: 10pt; tab-size: " +
        tab + "; -moz-tab-size: " + tab + "; }\n</style>\n</head>\n<body>\n<pre>");
}

// Where the next size bytes go; the page so far goes to the sink first when
// they would not fit.
inline char* PageWriter::room(qsizetype size)
{
    if (m_used + size > qsizetype(m_out.size())) [[unlikely]] {
        flush();
        if (size > qsizetype(m_out.size()))
            m_out.resize(std::size_t(size));
    }
    return m_out.data() + m_used;
}

inline void PageWriter::append(QByteArrayView bytes)
{
    std::memcpy(room(bytes.size()), bytes.data(), std::size_t(bytes.size()));
    m_used += bytes.size();
}

template <typename Put>
void PageWriter::colourRuns(const std::vector<std::uint8_t>& classes, Put put)
{
    const std::size_t n = classes.size();
    for (std::size_t k = 0; k < n;) {
        std::size_t e = k + 1;
        while (e + 8 <= n && load8(&classes[e]) == kOnes * classes[k])
            e += 8;
        while (e < n && classes[e] == classes[k])
            ++e;
        useColourOf(classes[k]);
        put(qsizetype(e - k));
        k = e;
    }
}

// Spans go by colour, not by class: classes of one colour share a span.
void PageWriter::useColourOf(std::uint8_t cls)
{
    const std::size_t c = cls < kTextClassCount ? cls : std::size_t(TextClass::Regular);
    if (m_spanOpen && m_colours[c] == m_spanColour)
        return;
    if (m_spanOpen)
        append("</span>");
    append(m_openers[c]);
    m_spanOpen = true;
    m_spanColour = m_colours[c];
}

void PageWriter::putScriptBytes(QByteArrayView bytes, const std::vector<std::uint8_t>& classes)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = in + bytes.size();
    colourRuns(classes, [&](qsizetype count) { putBytes(in, end, count); });
}

bool PageWriter::addText(QStringView text)
{
    const HighlightEngine::Result r = engine().highlight(text, 0, -1);
    qsizetype at = 0;
    colourRuns(r.classes, [&](qsizetype count) {
        putText(text.sliced(at, count));
        at += count;
    });
    return !m_failed;
}

bool PageWriter::finish()
{
    if (m_spanOpen)
        append("</span>");
    m_spanOpen = false;
    append("</pre>\n</body>\n</html>\n");
    flush();
    return !m_failed;
}

// count characters of a script file's bytes, a line end of CR LF being one.
void PageWriter::putBytes(const unsigned char*& in, const unsigned char* end, qsizetype count)
{
    while (count > 0) {
        const qsizetype slice = std::min(count, kSlice);
        char* out = room(slice * kPieceRoom);
        for (qsizetype c = 0; c < slice; ++c) {
            if (slice - c >= 8) {
                if (const std::uint64_t x = load8(in); plainBytes(x)) {
                    std::memcpy(out, &x, 8);
                    out += 8;
                    in += 8;
                    c += 7;
                    continue;
                }
            }
            const unsigned char b = *in++;
            if (b == '\r') {
                *out++ = '\n';
                if (in < end && *in == '\n')
                    ++in;
                continue;
            }
            const Piece& p = m_pieces[b];
            std::memcpy(out, &p, kPieceRoom);  // the whole piece; only its bytes are kept
            out += p.size;
        }
        m_used = out - m_out.data();
        count -= slice;
    }
}

void PageWriter::putText(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        qsizetype j = std::min(text.size(), i + kSlice);
        if (text[i].unicode() >= 0x80) {
            // A stretch of other characters, never cut inside a surrogate pair.
            qsizetype k = i;
            while (k < j && text[k].unicode() >= 0x80)
                ++k;
            if (k < text.size() && text[k].isLowSurrogate())
                ++k;
            append(text.sliced(i, k - i).toUtf8());
            i = k;
            continue;
        }
        char* out = room((j - i) * kPieceRoom);
        for (; i < j && text[i].unicode() < 0x80; ++i) {
            const Piece& p = m_pieces[text[i].unicode()];
            std::memcpy(out, &p, kPieceRoom);
            out += p.size;
        }
        m_used = out - m_out.data();
    }
}

void PageWriter::flush()
{
    if (m_used > 0 && !m_failed && !m_sink(QByteArrayView(m_out.data(), m_used)))
        m_failed = true;
    m_used = 0;
}

bool writeScriptPage(QIODevice& script, const SyntaxColours& colours, QStringView title, const Sink& sink,
                     QString* readError)
{
    PageWriter page(colours, title, sink);
    ColouringReader reader(script);
    QString text;
    for (ColouredBlock block; reader.next(block);) {
        if (block.classes.empty())
            block.colour(text);
        page.putScriptBytes(block.bytes, block.classes);
        if (page.m_failed)
            return false;
    }
    if (!reader.error().isEmpty()) {
        if (readError)
            *readError = reader.error();
        return false;
    }
    return page.finish();
}

QString exportText(QStringView text, const SyntaxColours& colours, QStringView title, const QString& target)
{
    atomicfile::Writer file(target);
    if (!file.open())
        return file.errorString();
    PageWriter page(colours, title, [&](QByteArrayView block) { return file.write(block); });
    if (!addTextInBlocks(page, text) || !page.finish() || !file.commit())
        return file.errorString();
    return QString();
}

}  // namespace HtmlExport
