// The progress dialog: the one window of the service a user sees. A
// borderless popup made from dialog template 129, shaped by the skin's mask,
// painted with the skin's face, with a marker bar drawn from the face and
// the skin's filled image and captioned from the skin text file. The main
// window shows it while it writes a whole profile into the mouse, and the
// write reports its progress into it.
#pragma once

#include "device/ProgressSink.h"
#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "ui/CDMarker.h"

class CProgressDlg : public CDialog, public ProgressSink {
public:
    CProgressDlg();
    ~CProgressDlg() override;

    // The dialog's size for placing it: the background image's size (the
    // window takes that size), or the window's own size when there is no
    // background image.
    int GetSkinWidth() const;
    int GetSkinHeight() const;
    // The bar's position, 0 to 100; anything else shows an empty bar.
    void SetProgress(int percent) override;

    BOOL PreTranslateMessage(MSG* msg) override;

    const CDMarker& ProgressBar() const { return bar_; }
    const Text& Caption() const { return caption_; }
    HRGN Region() const { return region_; }
    HBITMAP MaskImage() const { return mask_.GetSafeHandle(); }
    HBITMAP BackgroundImage() const { return background_.GetSafeHandle(); }

protected:
    BOOL OnInitDialog() override;
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    static const MessageMapEntry<CProgressDlg> kMessageMap[];

    Text caption_;
    HRGN region_ = nullptr;  // the window owns it once set
    CBitmap mask_;
    CBitmap background_;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    CDMarker bar_;
};
