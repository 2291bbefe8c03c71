#pragma once
// The media button bar: a row of raised faces (Play, Pause, Stop ...) drawn
// by the bar itself, each showing its coloured picture while usable and its
// greyed picture otherwise. It holds at most one media device, opened on its
// FileName through the media layer, drives it with its buttons, enables and
// greys them by itself (automatic states), and receives the device's
// completion notices.

#include "forms/Property.h"
#include "forms/TControl.h"
#include "media/Mci.h"

#include <QImage>
#include <array>

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr int MPButtonCount = 9;

class MediaBarWidget;

class TMediaPlayer : public TControl, public MciNotifyTarget {
public:
    explicit TMediaPlayer(TComponent* AOwner);
    // Closes the device it holds, waiting for it, and ignores the outcome.
    ~TMediaPlayer() override;

    // The file the next Open opens.
    QString GetFileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    LUNOHRAI_PROPERTY(TMediaPlayer, QString, FileName);

    bool DeviceOpen() const { return deviceOpen_; }
    // The open device's identifier, 0 while none is open.
    MCIDEVICEID DeviceID() const { return deviceId_; }
    // The media layer's last error code (0 for none).
    MCIERROR Error() const { return error_; }

    // The shown buttons, left to right.
    const std::vector<TMPBtnType>& VisibleButtons() const { return visible_; }
    // Whether a button is usable now (its automatic state while a device is open).
    bool ButtonEnabled(TMPBtnType b) const;
    // The shown button that carries the keyboard focus mark.
    TMPBtnType FocusedButton() const { return visible_.empty() ? btPlay : visible_[focus_]; }

    // Opens FileName (closing any open device first); raises EMCIDeviceError
    // with the media layer's text when it cannot.
    void Open();
    // Closes the open device, if any; a failure is only recorded in Error().
    void Close();
    // From the current position to the end; at the end, from the beginning.
    void Play();
    // Pauses a playing device, resumes a paused one.
    void Pause();
    // Stops where it is; a later Play goes on from there.
    void Stop();
    // A click on a button, as the mouse gives it: its action, then its
    // automatic states when the layer reported no error and a device is open.
    void Click(TMPBtnType button);

    // Completion notices of the device's play and resume requests.
    void MciNotify(MCIDEVICEID device, MciNotifyKind kind) override;

    bool SetProperty(const QString& name, const LayoutValue& value) override;

    // Each face is 29 pixels wide; neighbours share their one-pixel edge.
    static constexpr int FaceWidth = 29;
    QRect FaceRect(int index) const;

private:
    friend class MediaBarWidget;
    enum class Source { Mouse, Keyboard };
    void press(TMPBtnType button, Source source);
    void runAction(TMPBtnType button);
    // The automatic states after a press of `button`.
    void applyPressRow(TMPBtnType button);
    // Play usable (if the device can play), Pause and Stop greyed.
    void applyStoppedRow();
    void setState(TMPBtnType button, bool enabled);
    void greyAll();
    void requireDevice() const;
    // Sends a request to the open device and records its outcome.
    template <class Parms> MCIERROR send(MciCommand command, MciFlags flags, Parms& parms);
    MCIERROR send(MciCommand command, MciFlags flags);
    std::uint32_t status(MciStatusItem item, MCIERROR* error = nullptr);
    bool capability(MciCapability item);
    void raiseError() const;

    QString fileName_;
    bool deviceOpen_ = false;
    MCIDEVICEID deviceId_ = 0;
    MCIERROR error_ = MCIERR_NONE;
    std::array<bool, MPButtonCount> autoEnabled_{};
    struct Capabilities {
        bool canPlay = false, canRecord = false, canEject = false, hasVideo = false;
    } caps_;
    bool autoEnable_ = true;
    bool autoRewind_ = true;
    bool shareable_ = false;

    MediaBarWidget* bar_;
    std::vector<TMPBtnType> visible_{btPlay, btPause, btStop,   btNext, btPrev,
                                     btStep, btBack,  btRecord, btEject};
    int focus_ = 0;
};
