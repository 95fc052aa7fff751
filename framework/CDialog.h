// A modeless dialog made from a dialog template resource. Its object sees
// the whole life of the window, from WM_NCCREATE and WM_CREATE on, then
// WM_INITDIALOG (OnInitDialog). The message loop offers each message for the
// dialog or its children to PreTranslateMessage first; a dialog swallows the
// Escape and Enter keys there, so neither closes nor "presses" anything.
#pragma once

#include "framework/CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : templateId_(templateId) {}

    // Creates the dialog from its template, owned by `parent` (may be null).
    BOOL Create(CWnd* parent = nullptr);
    UINT TemplateId() const { return templateId_; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // After the dialog and its controls exist; the result is WM_INITDIALOG's.
    virtual BOOL OnInitDialog() { return TRUE; }
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnInitDialogMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    static const MessageMapEntry<CDialog> kMessageMap[];
    UINT templateId_;
};
