#pragma once

#include <QObject>

class AdapterTable;
class ProgressLine;
struct Controls;
struct NicRecord;

// Shows the adapter of the selected tab and proposes a configuration for a new
// device on its network: the suggestion boxes, the ping box and the frame caption.
class AdapterView final : public QObject {
    Q_OBJECT
public:
    AdapterView(const Controls& c, const AdapterTable& nics, ProgressLine& progress, QObject* parent = nullptr);

    // Rebuilds the panel and the suggestion from the adapter tables for the tab
    // that is selected now; the window runs it for each adapter the refresh stores.
    void TabNIC_Click();

private:
    void connectTabStrip();
    int selectedAdapterNumber() const;
    const NicRecord* adapterRecord(int adapterNumber) const;

    const Controls& c_;
    const AdapterTable& nics_;
    ProgressLine& progress_;
};
