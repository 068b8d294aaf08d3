#pragma once
// The results the engine's modal windows end with (the values its scripts know as mrOk and
// mrCancel).
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };
