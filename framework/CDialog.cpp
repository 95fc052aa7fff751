#include "framework/CDialog.h"

const MessageMapEntry<CDialog> CDialog::kMessageMap[] = {
    OnMessage(WM_INITDIALOG, &CDialog::OnInitDialogMessage),
};

bool CDialog::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result) ||
           CWnd::ProcessMessageMap(message, wParam, lParam, result);
}

BOOL CDialog::Create(CWnd* parent) {
    HWND owner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    SetParentHwnd(owner);
    BeginCreation();
    const HWND dialog = Sys().Windows.CreateDialogParamW(templateId_, owner, this);
    EndCreation();
    return dialog != nullptr ? TRUE : FALSE;
}

LRESULT CDialog::OnInitDialogMessage(UINT, WPARAM, LPARAM, BOOL&) { return OnInitDialog(); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}
