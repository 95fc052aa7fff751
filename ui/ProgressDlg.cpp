#include "ui/ProgressDlg.h"

#include "config/SettingsFileAccess.h"
#include "framework/CDC.h"
#include "ui/ProgressDialogRules.h"
#include "ui/SkinImages.h"

const MessageMapEntry<CProgressDlg> CProgressDlg::kMessageMap[] = {
    OnMessage(WM_CREATE, &CProgressDlg::OnCreate),
    OnMessage(WM_PAINT, &CProgressDlg::OnPaint),
    OnMessage(WM_ERASEBKGND, &CProgressDlg::OnEraseBackground),
    OnMessage(WM_DESTROY, &CProgressDlg::OnDestroy),
    // WM_CTLCOLOR: default handling.
};

bool CProgressDlg::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result) ||
           CDialog::ProcessMessageMap(message, wParam, lParam, result);
}

CProgressDlg::CProgressDlg() : CDialog(kProgressDialogTemplate) {}

CProgressDlg::~CProgressDlg() = default;

LRESULT CProgressDlg::OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    const LRESULT created = Default(message, wParam, lParam);
    if (created == -1) return -1;

    const SkinFiles files = SkinFilesFor(Sys().Kernel.GetModuleFileNameW());
    SIZE size{0, 0};
    LoadSkinImage(files.mask, mask_, size);
    LoadSkinImage(files.background, background_, size);
    imageWidth_ = size.cx;
    imageHeight_ = size.cy;
    CBitmap filled;
    LoadSkinImage(files.filled, filled, size);  // the skin's images are all of one size

    // Read as the profile functions read it, by the service's own INI reader.
    caption_ = OpenSettingsFileForReading(files.strings)->GetString(kSkinTextSection, kSkinCaptionKey, Text());
    if (caption_.size() >= kSkinCaptionCapacity) caption_.resize(kSkinCaptionCapacity - 1);

    bar_.CreateMarker(0, 0, size.cx, size.cy, caption_, this, 0);
    bar_.SetImages(0, 0, size.cx, size.cy, background_, filled);
    filled.DeleteObject();

    HRGN region = RegionFromMask(mask_.GetSafeHandle(), kMaskTransparentColour, kMaskTolerance);
    if (region != nullptr) {
        if (Sys().Windows.SetWindowRgn(m_hWnd, region, TRUE) != 0)
            region_ = region;
        else
            Sys().Graphics.DeleteObject(region);
    }
    // The face is the dialog: the window takes the background's size, so
    // nothing of the template's larger rectangle shows unpainted beside it.
    if (background_.GetSafeHandle() != nullptr && imageWidth_ > 0 && imageHeight_ > 0)
        Sys().Windows.SetWindowPos(m_hWnd, nullptr, 0, 0, imageWidth_, imageHeight_,
                                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    Sys().Windows.SetWindowTextW(m_hWnd, kProgressDialogOwnTitle);
    return 0;
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    bar_.SetRange(kProgressMinimum, kProgressMaximum);
    return TRUE;
}

LRESULT CProgressDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT paint{};
    HDC dc = Sys().Graphics.BeginPaint(m_hWnd, &paint);
    if (dc != nullptr && background_.GetSafeHandle() != nullptr) {
        RECT client{};
        Sys().Windows.GetClientRect(m_hWnd, &client);
        CDC image;
        if (image.CreateCompatibleDC(dc)) {
            image.SelectObject(background_.GetSafeHandle());
            Sys().Graphics.BitBlt(dc, client.left, client.top, client.right - client.left,
                                  client.bottom - client.top, image.GetSafeHdc(), 0, 0, SRCCOPY);
        }
    }
    Sys().Graphics.EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CProgressDlg::OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    // The face covers the whole window: erasing first would only flicker.
    // Without a face the dialog's own background is drawn, not garbage.
    if (background_.GetSafeHandle() == nullptr) return Default(message, wParam, lParam);
    return TRUE;
}

LRESULT CProgressDlg::OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    const LRESULT result = Default(message, wParam, lParam);
    mask_.DeleteObject();
    background_.DeleteObject();
    return result;
}

int CProgressDlg::GetSkinWidth() const {
    if (imageWidth_ > 0 || m_hWnd == nullptr) return imageWidth_;
    RECT rect{};
    Sys().Windows.GetWindowRect(m_hWnd, &rect);
    return rect.right - rect.left;
}

int CProgressDlg::GetSkinHeight() const {
    if (imageHeight_ > 0 || m_hWnd == nullptr) return imageHeight_;
    RECT rect{};
    Sys().Windows.GetWindowRect(m_hWnd, &rect);
    return rect.bottom - rect.top;
}

void CProgressDlg::SetProgress(int percent) { bar_.SetPosition(percent); }

BOOL CProgressDlg::PreTranslateMessage(MSG* msg) {
    if (IsSwallowedDialogKey(msg->message, msg->wParam)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}
