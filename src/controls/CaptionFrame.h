#pragma once

#include <QGroupBox>

// A frame that carries its caption on its top border line, so that controls placed a
// few pixels below the frame's top edge stand clear of the line, as the layout expects.
class CaptionFrame final : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
    // A frame without border shows neither line nor caption; it only groups.
    void setBorderless(bool borderless);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool borderless_ = false;
};
