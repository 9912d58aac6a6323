#include "app/form1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QWidget(parent) { setFixedSize(344, 247); }
