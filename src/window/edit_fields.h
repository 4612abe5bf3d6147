// Which control of the layout each edit field of the toolkit interface is.
// System-independent code only.
#pragma once

#include "window/layout.h"
#include "window/toolkit.h"

namespace pellox {

constexpr layout::ControlId ControlOf(EditField field) {
  switch (field) {
    case EditField::Edit1:
      return layout::ControlId::Edit1;
    case EditField::Edit2:
      return layout::ControlId::Edit2;
    case EditField::Edit3:
      return layout::ControlId::Edit3;
  }
  return layout::ControlId::Edit1;
}

}  // namespace pellox
