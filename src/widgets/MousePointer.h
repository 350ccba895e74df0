// The pointer values of a window or control.
#pragma once

namespace tabulon {

enum class MousePointer { Default = 0, Arrow = 1, Busy = 11, Custom = 99 };

}  // namespace tabulon
