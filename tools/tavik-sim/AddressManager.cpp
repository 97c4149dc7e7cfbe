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
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && entry.prefixLength() < 32 &&
                wanted.isInSubnet(entry.ip(), entry.prefixLength()))
                return candidate.name().toStdString();
        }
    }
    return {};
}

} // namespace

AddressManager::~AddressManager()
{
    for (const auto& [address, interfaceName] : added_) {
        std::string errorText;
        runIp("del", address, interfaceName, errorText);
    }
}

bool AddressManager::add(const std::string& address, const std::string& interfaceName)
{
    const std::string where = interfaceName.empty() ? interfaceHolding(address) : interfaceName;
    if (where.empty()) {
        log_("no interface holds the network of " + address + "; give the device iface=NAME");
        return false;
    }
    std::string errorText;
    if (runIp("add", address, where, errorText)) {
        added_.insert({address, where});
        return true;
    }
    // Already there (the interface's own address, or a second device at the same
    // address): nothing to add and nothing to remove later.
    if (errorText.find("exists") != std::string::npos)
        return true;
    log_("cannot add " + address + " to " + where + ": " + errorText);
    return false;
}

void AddressManager::remove(const std::string& address)
{
    for (auto it = added_.begin(); it != added_.end();) {
        if (it->first != address) {
            ++it;
            continue;
        }
        std::string errorText;
        if (!runIp("del", it->first, it->second, errorText))
            log_("cannot remove " + it->first + " from " + it->second + ": " + errorText);
        it = added_.erase(it);
    }
}

bool AddressManager::runIp(const std::string& verb, const std::string& address, const std::string& interfaceName,
                           std::string& errorText)
{
    QProcess ip;
    ip.start("ip", {"-4", "addr", QString::fromStdString(verb), QString::fromStdString(address) + "/32", "dev",
                    QString::fromStdString(interfaceName)});
    if (!ip.waitForFinished(5000)) {
        errorText = ip.errorString().toStdString();
        return false;
    }
    errorText = QString::fromLocal8Bit(ip.readAllStandardError()).trimmed().toStdString();
    return ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
}
