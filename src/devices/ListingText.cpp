#include "ListingText.h"

#include "DeviceReply.h"
#include "ExpectedSettings.h"

void ListingText::setText(std::string_view text)
{
    entryStarts_.clear();
    replyFirsts_.clear();
    heardOn_.clear();
    senders_.clear();
    text_.assign(text);
    index_.reset();
    ++replacements_;
}

void ListingText::append(std::string_view text)
{
    text_.append(text);
    index_.extend(text_);
}

void ListingText::appendEntry(std::string_view lead, std::string_view reply, int heardOnInterface,
                              std::string_view senderAddress)
{
    entryStarts_.push_back(text_.size() + 1);
    replyFirsts_.push_back(text_.size() + lead.size() + 1);
    heardOn_.push_back(heardOnInterface);
    senders_.emplace_back(senderAddress);
    append(lead);
    append(reply);
}

ReplySpan ListingText::reply(std::size_t index) const
{
    const std::size_t last = index + 1 < entryStarts_.size() ? entryStarts_[index + 1] - 1 : text_.size();
    return {replyFirsts_[index], last};
}

std::optional<DeviceReply> ListedReplyOf(const ListingText& listing, std::string_view mac)
{
    for (std::size_t i = 0; i < listing.replyFirsts().size(); ++i) {
        const ReplySpan span = listing.reply(i);
        std::optional<DeviceReply> reply = ReadDeviceReply(
            std::string_view(listing.text()).substr(span.first - 1, span.last - span.first + 1));
        if (reply && SameMac(reply->mac, mac))
            return reply;
    }
    return std::nullopt;
}
