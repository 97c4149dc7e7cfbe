#pragma once

class QWidget;

// Makes every caption under root fit its control as designed: a caption that is
// wider than its control gets a smaller font (never below a readable size).
void FitCaptions(QWidget* root);
