#pragma once

// The window's controls with their widget types complete, for the tests that look at them.
#include "controls/BusyAnimation.h"
#include "controls/Controls.h"
#include "controls/PictureButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
