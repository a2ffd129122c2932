// The program's user-interface font: a CJK sans at 12 pixels, whose half-width digits
// are about 6 pixels wide, so the fixed layouts of the windows and dialogs hold.
#pragma once

#include <QFont>

QFont UiFont();
