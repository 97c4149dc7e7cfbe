#include "ServerList.h"

#include "common/Latin1.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

ServerList::ServerList(QPlainTextEdit& view, ListingText& listing)
    : view_(view), listing_(listing), shownReplacement_(listing.replacements() - 1)
{ }

QString ServerList::display(std::string_view piece, bool& pendingCr) const
{
    QString shown;
    shown.reserve(static_cast<qsizetype>(piece.size()));
    for (char c : piece) {
        if (c == '\n' && pendingCr) {
            pendingCr = false; // second half of CR LF: already shown as the break
            continue;
        }
        pendingCr = (c == '\r');
        if (c == '\r' || c == '\n')
            shown += QChar('\n');
        else if (static_cast<unsigned char>(c) < 32 && c != '\t')
            shown += QChar(0xFFFD); // other control bytes stay visible as one character each
        else
            shown += AnsiByteToChar(c);
    }
    return shown;
}

void ServerList::setToolTip(const QString& tip) { view_.setToolTip(tip); }

void ServerList::showPending()
{
    const std::string& text = listing_.text();
    bool pendingCr = endsWithCr_;
    if (shownReplacement_ != listing_.replacements()) {
        shownReplacement_ = listing_.replacements();
        pendingCr = false;
        view_.setExtraSelections({});
        view_.setPlainText(display(text, pendingCr));
    } else if (shownUpTo_ != text.size()) {
        const QString shown = display(std::string_view(text).substr(shownUpTo_), pendingCr);
        QTextCursor end(view_.document());
        end.movePosition(QTextCursor::End);
        end.insertText(shown);
    }
    shownUpTo_ = text.size();
    endsWithCr_ = pendingCr;
}

std::size_t ServerList::caretPosition() const
{
    // Walk the text as display() does, counting shown characters until the caret.
    const std::string& text = listing_.text();
    const int caret = view_.textCursor().selectionStart();
    int shown = 0;
    bool pendingCr = false;
    std::size_t i = 0;
    for (; i < text.size() && shown < caret; ++i) {
        const char c = text[i];
        if (c == '\n' && pendingCr) {
            pendingCr = false;
            continue;
        }
        pendingCr = (c == '\r');
        ++shown;
    }
    // A caret right after a shown break that stands for CR LF lies after the LF too.
    if (pendingCr && i < text.size() && text[i] == '\n')
        ++i;
    return i;
}

int ServerList::shownLength(std::size_t count) const
{
    const std::string& text = listing_.text();
    int shown = 0;
    for (std::size_t i = 0; i < count && i < text.size(); ++i)
        if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
            ++shown;
    return shown;
}

void ServerList::markBlock(std::optional<ReplySpan> block)
{
    if (!block) {
        view_.setExtraSelections({});
        return;
    }
    const std::string& text = listing_.text();
    // The reply's own lines: the line breaks at its end lead to the next entry's heading.
    std::size_t last = std::min(block->last, text.size());
    while (last > block->first && (text[last - 1] == '\r' || text[last - 1] == '\n'))
        --last;
    QTextCursor marked(view_.document());
    marked.setPosition(shownLength(block->first - 1));
    marked.movePosition(QTextCursor::StartOfBlock);
    const int end = std::max(marked.anchor(), shownLength(last));
    marked.setPosition(end, QTextCursor::KeepAnchor);
    marked.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = marked;
    QColor shade = view_.palette().color(QPalette::Highlight);
    shade.setAlpha(56);
    mark.format.setBackground(shade);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    view_.setExtraSelections({mark});
}
