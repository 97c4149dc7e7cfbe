#include "NetviewPanel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

NetviewPanel::NetviewPanel()
{
    view.TabNIC = new QTabBar(&window);
    view.labNICName = new QLabel(QStringLiteral("..."), &window);
    view.txtIP = new QLineEdit(&window);
    view.txtSubnet = new QLineEdit(&window);
    view.txtGateway = new QLineEdit(&window);
    view.fraVoorstel = new QGroupBox(QStringLiteral("Suggested for MUREL/Server on this interface"), &window);
    for (auto& box : view.txtVoorstel)
        box = new QLineEdit(&window);
    view.txtIPtoPing = new QLineEdit(&window);
    view.labProgress = new QLabel(&window);
    view.txtSSID = new QLineEdit(&window);
    view.txtMurelPort = new QLineEdit(QStringLiteral("8082"), &window);
    view.cmdWiFiConnect = new QPushButton(QStringLiteral("Connect"), &window);
    ping.txtIPtoPing = view.txtIPtoPing;
    ping.cmdPing = new QPushButton(QStringLiteral("Test via Ping"), &window);
    view.TabNIC->resize(400, 30);

    adapterView = std::make_unique<AdapterView>(view, state);
    pingTest = std::make_unique<PingTest>(ping, fakes.services());
}

NetviewPanel::~NetviewPanel() = default;

void NetviewPanel::addAdapter(const std::string& name, const std::string& ip, const std::string& mask,
                              const std::string& gateway)
{
    state.nics.push_back({name, ip, mask, gateway});
    const int adapterNumber = static_cast<int>(state.nics.size());
    view.TabNIC->addTab(QStringLiteral("NIC #%1").arg(adapterNumber));
    adapterView->TabNIC_Click();
}

void NetviewPanel::clickTab(int adapterNumber)
{
    const QRect tab = view.TabNIC->tabRect(adapterNumber - 1);
    QTest::mouseClick(view.TabNIC, Qt::LeftButton, Qt::NoModifier, tab.center());
}
