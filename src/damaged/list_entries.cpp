#include "damaged/list_entries.h"

#include <algorithm>
#include <functional>

#include "app/click_sound.h"
#include "app/controls/check_list_box.h"
#include "app/form1.h"
#include "check/report_damaged.h"

bool AnyEntryChecked() {
    const CheckListBox& list = *Form1->CheckBox;
    for (int row = 0; row < list.count(); ++row) {
        if (list.IsChecked(row))
            return true;
    }
    return false;
}

void RemoveEntries(std::vector<int> rows) {
    CheckListBox& list = *Form1->CheckBox;
    // From the bottom up, so the rows still to remove keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : rows)
        delete list.takeItem(row);
    widestEntryWidth = 0;
    for (int row = 0; row < list.count(); ++row)
        widestEntryWidth = std::max(widestEntryWidth, EntryWidth(list.item(row)->text()));
    list.SetHorizontalExtent(widestEntryWidth + 18);
}

void RemoveCheckedEntries() {
    if (!AnyEntryChecked())
        return;
    const CheckListBox& list = *Form1->CheckBox;
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row) {
        if (list.IsChecked(row))
            rows.push_back(row);
    }
    RemoveEntries(std::move(rows));
}

void TForm1::Erase4Click() {
    PlayClick();
    RemoveCheckedEntries();
}
