#include "app/message_box_ui.h"

#include <windows.h>

void MessageBoxUi::Error(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), tarn::kErrorCaption, MB_ICONERROR | MB_OK);
}

bool MessageBoxUi::Ask(const std::string& text) {
  return MessageBoxA(nullptr, text.c_str(), tarn::kQuestionCaption, MB_ICONWARNING | MB_YESNO) == IDYES;
}

void MessageBoxUi::Finish(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), tarn::kFinishCaption, MB_ICONINFORMATION | MB_OK);
}
