#pragma once

class QAbstractItemView;

// Gives every row of the view the same height in pixels, whatever its font says.
void SetItemHeight(QAbstractItemView* view, int height);
