#pragma once
// Puts the calling thread below the normal scheduling priority, so that a long background job
// (a poll pass) leaves the window responsive. Best effort: a refusal leaves the thread as it is.
void LowerThreadPriority();
