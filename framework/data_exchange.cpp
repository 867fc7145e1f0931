#include "framework/data_exchange.h"

namespace fw {

void DataExchange::radio(int firstId, std::int32_t& value) {
  HWND button = controls_.find(firstId);
  if (saving_) value = -1;
  std::int32_t index = 0;
  while (button) {
    // Only radio buttons count: a group left open runs on over push
    // buttons and check boxes, which must neither be set nor read as units.
    if (SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (saving_) {
        if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    button = controls_.next(button);
    if (!button || (GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
  }
}

void DataExchange::check(int id, bool& value) {
  HWND box = controls_.find(id);
  if (saving_) {
    value = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  } else {
    SendMessageA(box, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

}  // namespace fw
