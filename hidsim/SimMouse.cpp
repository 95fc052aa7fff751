#include "hidsim/SimMouse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hidsim/Secrecy.h"

std::string FormatReceivedReport(const SimReceivedReport& report) {
    char text[96];
    std::snprintf(text, sizeof text, "%llu %04x %02x %02x %02x %02x %02x %02x %02x %02x",
                  static_cast<unsigned long long>(report.Time), static_cast<unsigned>(report.Usage),
                  report.Bytes[0], report.Bytes[1], report.Bytes[2], report.Bytes[3], report.Bytes[4],
                  report.Bytes[5], report.Bytes[6], report.Bytes[7]);
    return text;
}

std::string FormatSentReport(std::uint64_t time, const std::vector<std::uint8_t>& report) {
    std::string line = std::to_string(time) + " input";
    char byte[4];
    for (std::uint8_t b : report) {
        std::snprintf(byte, sizeof byte, " %02x", b);
        line += byte;
    }
    return line;
}

std::vector<std::uint8_t> SimButtonReport(int buttonIndex, bool pressed) {
    return {simproto::kVendorReportId, simproto::kMarker, simproto::kButtonEvent, 0x00,
            static_cast<std::uint8_t>(buttonIndex), static_cast<std::uint8_t>(pressed ? 1 : 0),
            0x00, 0x00, 0x00};
}

std::vector<std::uint8_t> SimLaunchReport(int buttonIndex) {
    using namespace simproto;
    return {kVendorReportId,     kMarker,             kLaunchEvent,        kLaunchSignature[0],
            kLaunchSignature[1], kLaunchSignature[2], kLaunchSignature[3],
            static_cast<std::uint8_t>(buttonIndex), 0x00};
}

std::vector<std::uint8_t> SimFunctionReport(std::uint8_t function, std::uint8_t parameter) {
    return {simproto::kFunctionReportId, function, parameter};
}

void SimMouse::SetReply(std::initializer_list<std::uint8_t> bytes, bool encoded) {
    std::uint8_t frame[secrecy::kFrameBytes] = {};
    std::size_t i = 1;
    for (std::uint8_t b : bytes) {
        if (i >= secrecy::kFrameBytes) break;
        frame[i++] = b;
    }
    if (encoded) secrecy::EncodeFrame(frame);
    std::memcpy(reply_.data(), frame + 1, simproto::kReportBytes);
    hasReply_ = true;
}

void SimMouse::ReceiveCommand(const std::uint8_t* report) {
    using namespace simproto;
    stream_ = Stream::None;
    streamOffset_ = 0;
    hasReply_ = false;
    if (report[0] != kMarker) return;
    switch (report[1]) {
    case kSetReportRate: memory_.ReportRate = report[2]; break;
    case kStreamButtonTable: stream_ = Stream::ButtonTable; break;
    case kStreamMacroArea: stream_ = Stream::MacroArea; break;
    case kStreamStages: stream_ = Stream::StageX; break;
    case kSetUniversalScroll: memory_.UniversalScroll = report[3]; break;
    case kSetLiftOff:
        memory_.LiftOff = report[3];
        memory_.LiftOffTrailer = report[4];
        break;
    case kSelectStage: memory_.CurrentStage = report[3]; break;
    case kSetLogo: memory_.Logo = report[4]; break;
    case kSetState: memory_.StateByte = report[2]; break;
    case kProbe:
        if (answers_.AnswersProbe)
            SetReply({kMarker, kProbe, 0x01}, false);
        else
            SetReply({kMarker, 0x00, 0x00}, false);
        break;
    case kReadBackQuery:
        SetReply({kMarker, answers_.ReadBackReady ? kSimReadBackReady : std::uint8_t{0}, kButtonTableBytesCode}, true);
        break;
    case kStageQuery: SetReply({kMarker, kStageQuery, memory_.CurrentStage}, false); break;
    case kReadBackRequest:
        // Four reports carry the first 32 bytes of the button table, encoded.
        if (!answers_.AnswersReadBack) break;
        for (std::size_t k = 0; k < kReadBackAnswers && k < answers_.ReadBackAnswerCount; ++k) {
            std::vector<std::uint8_t> frame(kSimReadBackReportLength, 0);
            frame[0] = kSimReadBackReportId;
            std::memcpy(frame.data() + 1, memory_.ButtonTable + k * kReportBytes, kReportBytes);
            secrecy::EncodeFrame(frame.data());
            produced_.push_back(std::move(frame));
        }
        break;
    default: break;
    }
}

void SimMouse::ReceiveData(const std::uint8_t* report) {
    switch (stream_) {
    case Stream::ButtonTable:
    case Stream::MacroArea: {
        std::uint8_t* area = stream_ == Stream::ButtonTable ? memory_.ButtonTable : memory_.MacroArea;
        const std::size_t size = stream_ == Stream::ButtonTable ? simproto::kButtonTableBytes : simproto::kMacroAreaBytes;
        const std::size_t n = std::min(simproto::kReportBytes, size - streamOffset_);
        std::memcpy(area + streamOffset_, report, n);
        streamOffset_ += n;
        if (streamOffset_ >= size) stream_ = Stream::None;
        break;
    }
    case Stream::StageX:
        std::memcpy(memory_.StageX, report, sizeof memory_.StageX);
        stream_ = Stream::StageY;
        break;
    case Stream::StageY:
        std::memcpy(memory_.StageY, report, sizeof memory_.StageY);
        stream_ = Stream::None;
        break;
    case Stream::None: break;
    }
}

bool SimMouse::Reply(std::uint8_t* reply) const {
    if (!hasReply_) return false;
    std::memcpy(reply, reply_.data(), simproto::kReportBytes);
    return true;
}

std::vector<std::vector<std::uint8_t>> SimMouse::TakeProducedReports() {
    std::vector<std::vector<std::uint8_t>> out;
    out.swap(produced_);
    return out;
}
