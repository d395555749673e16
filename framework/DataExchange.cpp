#include "DataExchange.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>

#include "AfxRes.h"
#include "MessageBox.h"
#include "ResourceText.h"

namespace {

std::string ControlText(HWND hCtrl)
{
    int nLength = ::GetWindowTextLengthA(hCtrl);
    std::string text(static_cast<size_t>(std::max(nLength, 0)) + 1, '\0');
    int nCopied = ::GetWindowTextA(hCtrl, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(0, std::min(nCopied, nLength))));
    return text;
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

// A whole number with blanks around it and nothing else, within what a long holds; a
// text whose number reads as 0 must start with the digit 0.
bool ParseLong(const char* pszText, long* plValue)
{
    const char* p = SkipBlanks(pszText);
    char chFirst = *p;
    char* pEnd = nullptr;
    errno = 0;
    long l = std::strtol(p, &pEnd, 10);
    if (errno == ERANGE)
        return false;
    if (l == 0 && chFirst != '0')
        return false;
    if (*SkipBlanks(pEnd) != '\0')
        return false;
    *plValue = l;
    return true;
}

// The same rule for a floating-point number.
bool ParseDouble(const char* pszText, double* pdValue)
{
    const char* p = SkipBlanks(pszText);
    char chFirst = *p;
    char* pEnd = nullptr;
    double d = std::strtod(p, &pEnd);
    if (d == 0.0 && chFirst != '0')
        return false;
    if (*SkipBlanks(pEnd) != '\0')
        return false;
    *pdValue = d;
    return true;
}

std::string FormatDouble(double d)
{
    char sz[64];
    snprintf(sz, sizeof(sz), "%.*g", DBL_DIG, d);
    return sz;
}

bool IsRadioButton(HWND hWnd)
{
    if (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        return true;
    LONG lType = ::GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return lType == BS_RADIOBUTTON || lType == BS_AUTORADIOBUTTON;
}

}  // namespace

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value)
{
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<BOOL>(::SendMessageA(hCtrl, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageA(hCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nButton = 0;
    do {
        if (IsRadioButton(hCtrl)) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hCtrl, BM_GETCHECK, 0, 0) != 0)
                    value = nButton;
            } else {
                ::SendMessageA(hCtrl, BM_SETCHECK, nButton == value, 0);
            }
            ++nButton;
        }
        hCtrl = ::GetWindow(hCtrl, GW_HWNDNEXT);
    } while (hCtrl != nullptr && !(::GetWindowLongA(hCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        LRESULT nIndex = ::SendMessageA(hCtrl, CB_GETCURSEL, 0, 0);
        if (nIndex == CB_ERR) {
            value = ControlText(hCtrl);
            return;
        }
        LRESULT nLength = ::SendMessageA(hCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
        std::string text(static_cast<size_t>(std::max<LRESULT>(nLength, 0)) + 1, '\0');
        LRESULT nCopied = ::SendMessageA(hCtrl, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                                         reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(nCopied, nLength))));
        value.swap(text);
    } else if (::SendMessageA(hCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(value.c_str())) == CB_ERR) {
        ::SetWindowTextA(hCtrl, value.c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if (!ParseLong(ControlText(hCtrl).c_str(), &value)) {
            AfxMessageBox(AFX_IDP_PARSE_INT);
            pDX->Fail();
        }
    } else {
        char sz[32];
        snprintf(sz, sizeof(sz), "%ld", value);
        ::SetWindowTextA(hCtrl, sz);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if (!ParseDouble(ControlText(hCtrl).c_str(), &value)) {
            AfxMessageBox(AFX_IDP_PARSE_REAL);
            pDX->Fail();
        }
    } else {
        ::SetWindowTextA(hCtrl, FormatDouble(value).c_str());
    }
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    std::string prompt = AfxFormatString2(AFX_IDP_PARSE_REAL_RANGE, FormatDouble(minVal).c_str(),
                                          FormatDouble(maxVal).c_str());
    AfxMessageBox(prompt.c_str(), MB_ICONEXCLAMATION, AFX_IDP_PARSE_REAL_RANGE);
    pDX->Fail();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hCtrl))
        pDX->Fail();
}

std::string AfxFormatString2(UINT nIDS, const char* psz1, const char* psz2)
{
    char szFormat[256] = "";
    LoadText(nIDS, szFormat, sizeof(szFormat));
    std::string result;
    for (const char* p = szFormat; *p != '\0'; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            result += p[1] == '1' ? psz1 : psz2;
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}
