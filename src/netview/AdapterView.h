#pragma once

#include "controls/ControlView.h"

#include <QObject>

#include <optional>

class AdapterTable;
class ProgressLine;
struct NicRecord;

// Shows the adapter of the selected tab and proposes a configuration for a new
// device on its network: the suggestion boxes and the ping box. The window names the
// adapter in the suggestion frame's caption.
class AdapterView final : public QObject {
    Q_OBJECT
public:
    AdapterView(const NetviewControls& c, const AdapterTable& nics, ProgressLine& progress, QObject* parent = nullptr);

    // Rebuilds the panel and the suggestion from the adapter tables for the tab
    // that is selected now; the window runs it for each adapter the refresh stores.
    void TabNIC_Click();
    // The number of the adapter the suggestion is for, once one was shown.
    std::optional<int> suggestionFor() const { return suggestionFor_; }

Q_SIGNALS:
    // Another adapter's suggestion is shown.
    void changed();

private:
    void connectTabStrip();
    int selectedAdapterNumber() const;
    const NicRecord* adapterRecord(int adapterNumber) const;

    const NetviewControls c_;
    const AdapterTable& nics_;
    ProgressLine& progress_;
    std::optional<int> suggestionFor_;
};
