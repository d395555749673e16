// The floating control palette: a toolbar of twelve buttons laid out in rows.
#pragma once

#include "ControlBar.h"

class CControlPalette : public CToolBar {
public:
    CControlPalette();

    // n buttons per row: every n-th button ends a row.
    void SetColumns(int nColumns);
    int GetColumns() const { return m_nColumns; }

    void OnRButtonDown(UINT nFlags, POINT point);
    void OnLButtonDown(UINT nFlags, POINT point);

    int m_nColumns;

protected:
    DECLARE_MESSAGE_MAP()
};
