#pragma once
#include <functional>

// The platform's short beep, with which a failed in-place store answers.
void PlatformBeep();

// Replaces the beep (tests listen to it this way); an empty function brings back the platform's beep.
void SetBeepHook(std::function<void()> Hook);
