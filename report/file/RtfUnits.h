#pragma once
// The measures that the RTF reader and writer share.

// RTF measures indents in twips (1440 an inch); the document, in pixels at 96 an inch.
constexpr double kTwipsPerPixel = 15;
// Font sizes in half points: from 1 point to 1638.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
