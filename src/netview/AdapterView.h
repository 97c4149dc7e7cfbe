#pragma once

#include "AdapterViewWidgets.h"

#include <QObject>

class AdapterTable;
struct NicRecord;

// Shows the adapter of the selected tab and proposes a configuration for a new
// device on its network: the suggestion boxes, the ping box and the frame caption.
// Also owns the connect readiness rule as applied to the window's controls.
class AdapterView final : public QObject {
    Q_OBJECT
public:
    AdapterView(const AdapterViewWidgets& widgets, const AdapterTable& nics, QObject* parent = nullptr);

    // Rebuilds the panel and the suggestion from the adapter tables for the tab
    // that is selected now. The refresh calls it after storing each adapter.
    void TabNIC_Click();

private:
    void connectTabStrip();
    int selectedAdapterNumber() const;
    const NicRecord* adapterRecord(int adapterNumber) const;

    AdapterViewWidgets widgets_;
    const AdapterTable& nics_;
};
