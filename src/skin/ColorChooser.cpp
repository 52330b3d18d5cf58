#include "ColorChooser.h"

namespace {
ColorChooserFunction& Current() {
    static ColorChooserFunction function = &::ChooseColorA;
    return function;
}
} // namespace

BOOL ShowColorChooser(CHOOSECOLORA* choose) {
    return Current()(choose);
}

ColorChooserFunction SetColorChooserFunction(ColorChooserFunction function) {
    ColorChooserFunction previous = Current();
    Current() = function ? function : &::ChooseColorA;
    return previous;
}
