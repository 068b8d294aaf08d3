#pragma once
// The results the engine's modal windows and message boxes end with (the values its scripts know
// as mrOk, mrCancel, mrYes and mrNo).
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
