#include "Recovery.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>
#include <string_view>
#include <system_error>
#include <utility>

#include "ChangeDetection.h"
#include "FileSystem.h"
#include "Numbers.h"

namespace chokusho {

namespace {

constexpr const char* kSideFileMark = "chokusho-recovery";
constexpr const char* kHexDigits = "0123456789ABCDEF";

/** Calls `visit` with every real of the record, slots above the counts included, in one fixed order. */
template <typename Record, typename Visit>
void ForEachReal(Record& r, Visit visit)
{
    for (auto* value : {&r.B, &r.L, &r.H, &r.Gx, &r.Gy, &r.V})
        visit(*value);
    for (auto* values : {&r.LayerH, &r.LayerDV, &r.LayerV, &r.LayerGx}) {
        for (auto& value : *values)
            visit(value);
    }
    for (auto* values : {&r.PointX, &r.PointY}) {
        for (auto& value : *values)
            visit(value);
    }
}

std::string Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            out += '%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 && HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void AppendLine(std::string& out, const char* key, std::string_view value)
{
    out += key;
    out += '=';
    out += Escape(value);
    out += '\n';
}

std::string ExactReals(const BlockData& record)
{
    std::string out;
    out.reserve(412 * 8);
    ForEachReal(record, [&out](double value) {
        char buffer[32];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
        if (!out.empty())
            out += ',';
        out.append(buffer, written.ptr);
    });
    return out;
}

/** Puts the reals of `text` into `record`; false, changing nothing, unless every one is there. */
bool TakeExactReals(std::string_view text, BlockData& record)
{
    std::vector<double> values;
    const char* at = text.data();
    const char* end = at + text.size();
    while (at < end) {
        double value = 0;
        const auto read = std::from_chars(at, end, value);
        if (read.ec != std::errc{} || (read.ptr != end && *read.ptr != ','))
            return false;
        values.push_back(value);
        at = read.ptr == end ? end : read.ptr + 1;
    }
    std::size_t count = 0;
    ForEachReal(record, [&count](double&) { ++count; });
    if (values.size() != count)
        return false;
    std::size_t next = 0;
    ForEachReal(record, [&](double& value) { value = values[next++]; });
    return true;
}

/** A check of the block file the side file was written with (64-bit FNV-1a, in hex). */
std::string FileCheck(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        out[static_cast<std::size_t>(i)] = kHexDigits[hash & 0xF];
    return out;
}

template <typename Number>
bool ReadNumber(const std::string& text, Number& number)
{
    const auto read = std::from_chars(text.data(), text.data() + text.size(), number);
    return read.ec == std::errc{} && read.ptr == text.data() + text.size();
}

}  // namespace

std::string FormatRecoveryInfo(const RecoveryInfo& info, const BlockData& record, std::string_view blockFile)
{
    std::string out;
    AppendLine(out, kSideFileMark, "1");
    AppendLine(out, "pid", std::to_string(info.pid));
    AppendLine(out, "changed", info.changed);
    AppendLine(out, "name", info.blkName);
    AppendLine(out, "file", info.blkFile);
    AppendLine(out, "folder", info.blkFolder);
    AppendLine(out, "datapath", info.dataPath);
    AppendLine(out, "undo", std::to_string(info.undoCount));
    AppendLine(out, "block", FileCheck(blockFile));
    AppendLine(out, "block-name", record.Name);
    AppendLine(out, "block-kind", record.Kind);
    AppendLine(out, "reals", ExactReals(record));
    return out;
}

bool ParseRecoveryInfo(const std::string& text, std::string_view blockFile, RecoveryInfo& info, BlockData& record)
{
    std::map<std::string, std::string, std::less<>> values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos)
            values[std::string(line.substr(0, equals))] = Unescape(line.substr(equals + 1));
        start = end + 1;
    }
    if (values[kSideFileMark] != "1")
        return false;
    RecoveryInfo read;
    read.changed = values["changed"];
    read.blkName = values["name"];
    read.blkFile = values["file"];
    read.blkFolder = values["folder"];
    read.dataPath = values["datapath"];
    if (!ReadNumber(values["pid"], read.pid) || !ReadNumber(values["undo"], read.undoCount))
        return false;
    info = std::move(read);
    // A pair whose two writes were parted by a crash: the block file is newer, and stands alone.
    if (values["block"] != FileCheck(blockFile))
        return true;
    BlockData exact = record;
    exact.Name = values["block-name"];
    exact.Kind = values["block-kind"];
    if (TakeExactReals(values["reals"], exact))
        record = std::move(exact);
    return true;
}

std::string RecoveryName(long long pid, const std::string& startStamp)
{
    return "chokusho-" + std::to_string(pid) + "-" + startStamp;
}

std::string RecoveryFailureText(const std::string& reason)
{
    return "復元用ファイルを書き込めませんでした: " + reason;
}

RecoveryKeeper::RecoveryKeeper(const DocumentState& state, RecoveryStore& store, RecoveryClock& clock,
                               FramePort& port, std::string name, long long pid, RecoveryTiming timing)
    : state_(state), store_(store), clock_(clock), port_(port), name_(std::move(name)), pid_(pid), timing_(timing)
{
}

void RecoveryKeeper::Changed()
{
    lastChange_ = clock_.localTime();
    if (pending_)
        return;
    const std::int64_t now = clock_.nowMs();
    due_ = now + timing_.settleMs;
    if (everWritten_)
        due_ = std::max(due_, lastWrite_ + timing_.intervalMs);
    pending_ = true;
    clock_.wakeAfter(due_ - now);
}

void RecoveryKeeper::Due()
{
    if (!pending_)
        return;
    const std::int64_t now = clock_.nowMs();
    if (now < due_) {
        clock_.wakeAfter(due_ - now);
        return;
    }
    pending_ = false;
    static_cast<void>(Write());
}

bool RecoveryKeeper::Write()
{
    if (!IsModified(state_.CurData, state_.SavedData)) {
        Settled();
        return true;
    }
    everWritten_ = true;
    lastWrite_ = clock_.nowMs();
    RecoveryInfo info{state_.BlkName, state_.BlkFile, state_.BlkFolder, state_.DataPath, state_.Undo.UndoCount(),
                      lastChange_.empty() ? clock_.localTime() : lastChange_, pid_};
    try {
        store_.write(name_, state_.CurData, info);
    } catch (const FileWriteError& error) {
        failureNote_ = RecoveryFailureText(error.reason());
        if (!failureShown_)
            port_.setStatusText(StatusPane::Prompt, failureNote_);
        failureShown_ = true;
        return false;
    }
    written_ = true;
    failureShown_ = false;
    failureNote_.clear();
    return true;
}

void RecoveryKeeper::Settled()
{
    pending_ = false;
    if (written_ && store_.remove(name_))
        written_ = false;
}

void RecoveryKeeper::TakeOver(const std::string& left)
{
    pending_ = false;
    lastChange_ = clock_.localTime();
    if (Write() && written_)
        static_cast<void>(store_.remove(left));
}

std::vector<LeftRecovery> RecoveryKeeper::LeftBehind()
{
    std::vector<LeftRecovery> left;
    for (const std::string& name : store_.names()) {
        if (name == name_ || store_.isHeld(name))
            continue;
        left.push_back({name, store_.read(name)});
    }
    std::stable_sort(left.begin(), left.end(), [](const LeftRecovery& a, const LeftRecovery& b) {
        return a.content.info.changed > b.content.info.changed;
    });
    return left;
}

}  // namespace chokusho
