#include "snippets/SnippetCommands.h"

#include "platform/MessageBox.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "snippets/CAddSnippetDlg.h"
#include "snippets/CSnippetLibraryDlg.h"

#include <QScreen>
#include <QWidget>

SnippetCommands::SnippetCommands(QWidget* owner, ProfileStore& store)
    : QObject(owner), m_owner(owner), m_library(new CSnippetLibraryDlg(store, owner))
{
    connect(m_library, &CSnippetLibraryDlg::insertRequested, this, &SnippetCommands::insertSnippet);
}

// Without an owner the dialog is ours to delete; with one it may have gone with it.
SnippetCommands::~SnippetCommands() { delete m_library.data(); }

QWidget* SnippetCommands::libraryWindow() const { return m_library; }

void SnippetCommands::OnCodeSnippetLibrary()
{
    if (!m_library)
        return;
    if (!m_placed)
        placeBesideOwner();
    m_library->showLibrary();
}

void SnippetCommands::placeBesideOwner()
{
    m_placed = true;
    if (!m_owner || !m_owner->isVisible())
        return;
    // To the right of the frame, else to its left, so that it hides none of
    // the script; and on the frame's screen either way.
    const QRect frame = m_owner->frameGeometry();
    const QRect screen = m_owner->screen()->availableGeometry();
    const QSize size = m_library->frameSize();
    int x = frame.right() + 1;
    if (x + size.width() > screen.right() + 1)
        x = frame.left() - size.width();
    x = qBound(screen.left(), x, std::max(screen.left(), screen.right() + 1 - size.width()));
    const int y = qBound(screen.top(), frame.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    m_library->move(x, y);
}

void SnippetCommands::OnAddCodeSnippet(const QString& selectedText)
{
    if (!m_library)
        return;
    CAddSnippetDlg dlg(m_owner ? m_owner->window() : nullptr);
    if (dlg.DoModal() != ids::IDOK)
        return;
    if (m_library->addSnippet(dlg.name(), dlg.description(), selectedText) == SnippetLibrary::kNoSlot)
        mb::show(m_owner, str::kSnippetLibraryFull, str::kCaptionSnippetError, mb::MB_OK | mb::MB_ICONEXCLAMATION);
}

bool SnippetCommands::OnCreateBasicScript()
{
    return mb::show(m_owner, str::kBasicScriptQuestion, str::kCaptionConfirm,
                    mb::MB_OKCANCEL | mb::MB_ICONEXCLAMATION) == mb::IDOK;
}
