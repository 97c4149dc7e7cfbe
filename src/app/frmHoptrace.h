#pragma once
#include <QWidget>
struct Services;
class frmHoptrace : public QWidget { public: explicit frmHoptrace(Services&) {} void load() {} };
