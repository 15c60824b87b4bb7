#pragma once
// What a progress label shows, free of widget code: the Qt progress controller measures with
// the label's font, tests with any measure.
#include <cstdint>
#include <functional>
#include <string>

// The two slots of a progress display.
enum class TProgressSlot : uint8_t { Total = 0, Detail = 1 };

// Width of a UTF-8 text in the label's font.
using TTextWidth = std::function<int(const std::string& text)>;

// The caption cut to fit the bar: "prefix: text" (or the text alone without a prefix), shortened
// by whole characters while it and "..." are wider than the bar, trimmed of surrounding blanks,
// and ending in "..." when anything was cut or trimmed.
std::string FitCaption(const std::string& prefix, const std::string& text, int barWidth,
                       const TTextWidth& width);

// The label text of a position report: "25%".
std::string PercentCaption(int32_t position);

// Whether the user stopped the progress form registered as current. No part of this program
// registers one, so the answer is always false; report loaders and hosts still ask.
bool IsProgressStopped();
