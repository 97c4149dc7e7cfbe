#include "AddressManager.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QProcess>

namespace {

// The interface with an IPv4 network that holds the address.
std::string interfaceHolding(const std::string& address)
{
    const QHostAddress wanted(QString::fromStdString(address));
    for (const QNetworkInterface& candidate : QNetworkInterface::allInterfaces()) {
        if (candidate.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : candidate.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && entry.prefixLength() < 32
                && wanted.isInSubnet(entry.ip(), entry.prefixLength()))
                return candidate.name().toStdString();
        }
    }
    return {};
}

std::set<std::string> addressesOnThisHost()
{
    std::set<std::string> present;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            present.insert(address.toString().toStdString());
    }
    return present;
}

} // namespace

AddressManager::~AddressManager()
{
    std::string commands;
    for (const auto& [address, interfaceName] : added_)
        commands += "addr del " + address + "/32 dev " + interfaceName + "\n";
    std::string errorText;
    if (!commands.empty())
        runIpBatch(commands, errorText);
}

bool AddressManager::add(const std::vector<Placement>& placements)
{
    const std::set<std::string> present = addressesOnThisHost();
    std::set<Placement> wanted;
    for (const auto& [address, interfaceName] : placements) {
        if (present.count(address))
            continue; // the interface's own address, or one a device already holds
        const std::string where = interfaceName.empty() ? interfaceHolding(address) : interfaceName;
        if (where.empty()) {
            log_("no interface holds the network of " + address + "; give the device iface=NAME");
            return false;
        }
        wanted.insert({address, where});
    }
    std::string commands;
    for (const auto& [address, interfaceName] : wanted)
        commands += "addr add " + address + "/32 dev " + interfaceName + "\n";
    if (commands.empty())
        return true;
    std::string errorText;
    const bool added = runIpBatch(commands, errorText);
    // With -force the batch goes on past a refused line: keep what did get there.
    const std::set<std::string> now = addressesOnThisHost();
    for (const Placement& placement : wanted) {
        if (now.count(placement.first))
            added_.insert(placement);
    }
    if (!added)
        log_("cannot add every device address: " + errorText);
    return added;
}

void AddressManager::remove(const std::string& address)
{
    std::string commands;
    for (auto it = added_.begin(); it != added_.end();) {
        if (it->first == address) {
            commands += "addr del " + it->first + "/32 dev " + it->second + "\n";
            it = added_.erase(it);
        } else {
            ++it;
        }
    }
    std::string errorText;
    if (!commands.empty() && !runIpBatch(commands, errorText))
        log_("cannot remove " + address + ": " + errorText);
}

bool AddressManager::runIpBatch(const std::string& commands, std::string& errorText)
{
    QProcess ip;
    ip.start("ip", {"-4", "-force", "-batch", "-"});
    ip.write(commands.data(), static_cast<qint64>(commands.size()));
    ip.closeWriteChannel();
    if (!ip.waitForFinished(60000)) {
        errorText = ip.errorString().toStdString();
        return false;
    }
    errorText = QString::fromLocal8Bit(ip.readAllStandardError()).trimmed().toStdString();
    return ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
}
