#include "ServerList.h"

#include "common/Latin1.h"

#include <QPlainTextEdit>
#include <QTextCursor>

ServerList::ServerList(QPlainTextEdit& view) : view_(view) {}

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
            shown += QChar(static_cast<unsigned char>(c));
    }
    return shown;
}

void ServerList::setText(std::string_view text)
{
    text_.assign(text);
    index_.reset();
    shownUpTo_ = text_.size();
    bool pendingCr = false;
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
