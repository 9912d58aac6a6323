#include "check/report_damaged.h"

#include <QFontMetrics>

#include "app/controls/check_list_box.h"
#include "app/form1.h"
#include "check/damaged_entry.h"

int widestEntryWidth = 0;

int EntryWidth(const QString& entry) {
    return QFontMetrics(Form1->font()).horizontalAdvance(entry);
}

void AddDamagedEntry(const QString& entry) {
    Form1->CheckBox->InsertEntry(0, entry);
    Form1->CheckBox->SetChecked(0, true);
    const int width = EntryWidth(entry);
    if (width > widestEntryWidth) {
        widestEntryWidth = width;
        Form1->CheckBox->SetHorizontalExtent(widestEntryWidth + 18);
    }
}

void ReportDamaged(const QString& path, int kind, int resultCode, int extraCode) {
    const std::string entry =
        pyx::ComposeDamagedEntry(path.toStdString(), kind, resultCode, extraCode);
    AddDamagedEntry(QString::fromStdString(entry));
}
