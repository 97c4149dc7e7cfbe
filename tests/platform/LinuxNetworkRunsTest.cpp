#include "TestMain.h"

#include "PrivateNetwork.h"

#include <QTest>

// Starts the classes that need real interfaces and ICMP, each in a private network of its
// own; they skip themselves when started any other way.
class LinuxNetworkRunsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void adapterList() { PrivateNetwork::runTestClass("LinuxAdapterListNetTest"); }
    void echoTest() { PrivateNetwork::runTestClass("LinuxEchoNetTest"); }
};

HOPTRACE_TEST(LinuxNetworkRunsTest)
#include "LinuxNetworkRunsTest.moc"
