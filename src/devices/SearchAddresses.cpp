#include "SearchAddresses.h"

#include "AddressList.h"
#include "Datagrams.h"

#include "platform/DottedQuad.h"
#include "platform/UdpSocket.h"

#include <QSettings>

#include <algorithm>

namespace {
const QString kSettingsKey = QStringLiteral("search/addresses");
}

SearchAddresses::SearchAddresses(QSettings& settings) : settings_(settings) { read(); }

void SearchAddresses::read()
{
    stored_ = settings_.value(kSettingsKey).toString();
    const AddressList::Parsed parsed = AddressList::Parse(stored_.toStdString());
    reads_ = parsed.accepted;
    addresses_ = parsed.accepted ? parsed.addresses : std::vector<std::uint32_t>{};
}

std::optional<std::string> SearchAddresses::store(const QString& text)
{
    const AddressList::Parsed parsed = AddressList::Parse(text.toStdString());
    if (!parsed.accepted)
        return parsed.refusal;
    if (parsed.addresses.empty())
        settings_.remove(kSettingsKey);
    else
        settings_.setValue(kSettingsKey, text.trimmed());
    settings_.sync();
    read();
    return std::nullopt;
}

void SearchAddresses::replyRead(const Datagram& reply)
{
    const std::optional<std::uint32_t> sender = ParseDottedQuad(reply.senderAddress);
    if (sender && std::binary_search(addresses_.begin(), addresses_.end(), *sender))
        answeredMacs_.insert(TavikDatagram::ReplyMac(reply.bytes));
}

std::vector<std::uint32_t> SearchAddresses::takeNextTargets()
{
    std::vector<std::uint32_t> targets = addresses_;
    targets.insert(targets.end(), once_.begin(), once_.end());
    once_.clear();
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    return targets;
}
