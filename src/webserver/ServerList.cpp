#include "ServerList.h"

#include "common/Latin1.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

ServerList::ServerList(QPlainTextEdit& view) : view_(view) { }

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

void ServerList::setText(std::string_view text)
{
    entryStarts_.clear();
    replyFirsts_.clear();
    heardOn_.clear();
    text_.assign(text);
    index_.reset();
    shownUpTo_ = text_.size();
    bool pendingCr = false;
    view_.setExtraSelections({});
    view_.setPlainText(display(text, pendingCr));
    endsWithCr_ = pendingCr;
}

void ServerList::append(std::string_view text)
{
    appendQuietly(text);
    showPending();
}

void ServerList::appendQuietly(std::string_view text)
{
    text_.append(text);
    index_.extend(text_);
}

void ServerList::showPending()
{
    if (shownUpTo_ == text_.size())
        return;
    bool pendingCr = endsWithCr_;
    const QString shown = display(std::string_view(text_).substr(shownUpTo_), pendingCr);
    shownUpTo_ = text_.size();
    endsWithCr_ = pendingCr;
    QTextCursor end(view_.document());
    end.movePosition(QTextCursor::End);
    end.insertText(shown);
}

void ServerList::appendEntry(std::string_view lead, std::string_view reply, int heardOnInterface)
{
    entryStarts_.push_back(text_.size() + 1);
    replyFirsts_.push_back(text_.size() + lead.size() + 1);
    heardOn_.push_back(heardOnInterface);
    appendQuietly(lead);
    appendQuietly(reply);
}

ReplySpan ServerList::reply(std::size_t index) const
{
    const std::size_t last = index + 1 < entryStarts_.size() ? entryStarts_[index + 1] - 1 : text_.size();
    return {replyFirsts_[index], last};
}

std::size_t ServerList::caretPosition() const
{
    // Walk the text as display() does, counting shown characters until the caret.
    const int caret = view_.textCursor().selectionStart();
    int shown = 0;
    bool pendingCr = false;
    std::size_t i = 0;
    for (; i < text_.size() && shown < caret; ++i) {
        const char c = text_[i];
        if (c == '\n' && pendingCr) {
            pendingCr = false;
            continue;
        }
        pendingCr = (c == '\r');
        ++shown;
    }
    // A caret right after a shown break that stands for CR LF lies after the LF too.
    if (pendingCr && i < text_.size() && text_[i] == '\n')
        ++i;
    return i;
}

int ServerList::shownLength(std::size_t count) const
{
    int shown = 0;
    for (std::size_t i = 0; i < count && i < text_.size(); ++i)
        if (!(text_[i] == '\n' && i > 0 && text_[i - 1] == '\r'))
            ++shown;
    return shown;
}

void ServerList::markBlock(std::optional<ReplySpan> block)
{
    if (!block) {
        view_.setExtraSelections({});
        return;
    }
    // The reply's own lines: the line breaks at its end lead to the next entry's heading.
    std::size_t last = std::min(block->last, text_.size());
    while (last > block->first && (text_[last - 1] == '\r' || text_[last - 1] == '\n'))
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
