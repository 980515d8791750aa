#pragma once
// The download progress dialog KESF2THISWEEKNZ: polls its owner's JV-Link
// every 10 ms, shows "n / count", closes when the count is reached, on a
// failed status or on cancel. It works on its owner's JV-Link control,
// download count and result variable.
#include "common/control_names.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"

#include <cstdint>

namespace rw::jv {

class DownloadProgress : public TimedDialog {
public:
    DownloadProgress(UiPort& ui, JvLink& jvlink, std::int32_t downloadCount, std::int16_t& result)
        : ui_(ui), jv_(jvlink), count_(downloadCount), result_(result) {}

    QString windowName() const override { return ctl::ProgressWindow; }
    int intervalMs() const override { return 10; }
    void load() override;
    void tick() override;    // Timer1
    void cancel() override;  // Command1 "キャンセル"
    bool isClosed() const override { return closed_; }

private:
    UiPort& ui_;
    JvLink& jv_;
    std::int32_t count_;
    std::int16_t& result_;
    bool closed_ = false;
};

}  // namespace rw::jv
