// The data exchange forms beyond plain text: check boxes, radio groups, combo box texts,
// numbers with their parse-back and range check, and the binding of a control to its
// window object. Each loads the control from the value, or (saving) validates the
// control's text and stores it; a refused text tells the user and fails the exchange.
#pragma once

#include <windows.h>

#include <string>

#include "Dialog.h"

// A check box's state: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);
// The index of the checked radio button of the group that starts at nIDC (-1 when none
// is checked); the group ends at the next control with the group style.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// A combo box: loading selects the first entry that begins with value; saving takes
// the selected entry's text, or the edit text when nothing is selected.
void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value);
// A whole number shown with "%ld"; a text that is not one gives "Please enter an integer.".
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
// A number shown with "%.*g" at 15 digits; a text that is not one gives
// "Please enter a number.".
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// When saving: a value outside minVal..maxVal (both allowed) gives
// "Please enter a number between %1 and %2." with the bounds filled in, and fails.
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
// Attaches control nIDC to rControl the first time; later exchanges leave it be.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Fills the placeholders %1 and %2 of string resource nIDS; unknown placeholders stay.
std::string AfxFormatString2(UINT nIDS, const char* psz1, const char* psz2);
