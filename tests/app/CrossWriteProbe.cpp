// Built only by the cross_write_refused test, which expects the build to stop on the second
// function: each subsystem writes its own controls, and the window alone those several concern.
#include "controls/ControlView.h"

#include <QPlainTextEdit>
#include <QPushButton>

void ownWriteCompiles(const WebserverControls& c) { c.txtServers->setEnabled(false); }

void crossWriteIsRefused(const WebserverControls& c) { c.cmdReboot->setEnabled(false); }
