// Modal message boxes.
#pragma once

#include <cstdint>
#include <string>

using WindowRef = std::uintptr_t;  // an HWND; 0 means no owner

constexpr std::uint32_t MsgOk = 0x00;
constexpr std::uint32_t MsgYesNo = 0x04;
constexpr std::uint32_t MsgIconError = 0x10;
constexpr std::uint32_t MsgIconQuestion = 0x20;
constexpr std::uint32_t MsgIconInformation = 0x40;
constexpr std::uint32_t MsgDefaultSecond = 0x100;  // the second button (No) has the focus

constexpr int AnswerOk = 1;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;

// Shows a modal message box and returns the button pressed.
int ShowMessage(WindowRef owner, const std::string& text, const std::string& title, std::uint32_t style);
