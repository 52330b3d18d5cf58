#include "ColorChooser.h"

namespace {
// The system's chooser has the system's calling convention, which differs from ours in a
// 32-bit program: called through this function, never by its own address.
BOOL SystemChooser(CHOOSECOLORA* choose) {
    return ::ChooseColorA(choose);
}

ColorChooserFunction& Current() {
    static ColorChooserFunction function = &SystemChooser;
    return function;
}
} // namespace

BOOL ShowColorChooser(CHOOSECOLORA* choose) {
    return Current()(choose);
}

ColorChooserFunction SetColorChooserFunction(ColorChooserFunction function) {
    ColorChooserFunction previous = Current();
    Current() = function ? function : &SystemChooser;
    return previous;
}
