// SPDX-License-Identifier: GPL-3.0-or-later
// Script lines as the runner reads them (gfx/Script.h), each stamped with the frame it reaches.
#include "gfx/ScriptRecorder.h"

#include <cmath>
#include <cstdio>

#include "gfx/Script.h"

namespace {
std::string ClockText(double seconds) {
    const auto ms = static_cast<long long>(std::llround(seconds * 1000.0)) % (86400LL * 1000);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return text;
}

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}
}  // namespace

ScriptRecorder::ScriptRecorder(uint64_t startMs, double clockSeconds, int32_t day, const std::string& args)
    : m_StartMs(startMs), m_Ms(startMs) {
    const CalendarDate date = DateOfDay(day);
    char dateText[32];
    std::snprintf(dateText, sizeof dateText, "%04d-%02u-%02u", static_cast<int>(date.year), date.month, date.day);
    m_Text = "# A recorded game: kindlewisp-replay plays it again exactly.\nclock " + ClockText(clockSeconds) +
             "\ndate " + dateText + "\n";
    if (!args.empty()) m_Text += "args " + ScriptText(args) + "\n";
    m_SettingsEnd = m_Text.size();
}

void ScriptRecorder::Start(const std::string& name, const std::string& value) {
    Setting("start " + name + " " + ScriptText(value) + "\n");
}

void ScriptRecorder::Setting(const std::string& line) {
    m_Text.insert(m_SettingsEnd, line);
    m_SettingsEnd += line.size();
}

void ScriptRecorder::Line(const std::string& action) { m_Text += "at " + std::to_string(Now()) + " " + action + "\n"; }

void ScriptRecorder::UsesJoystick() {
    if (!m_Joystick) Setting("joystick\n");
    m_Joystick = true;
}

void ScriptRecorder::Frame(uint64_t elapsedMs) {
    if (elapsedMs <= m_Ms) return;  // the clock did not move: the pass belongs to the frame before
    // The clock steps at most MaxFrameMs, the longest frame a script holds.
    const auto length = static_cast<uint32_t>(elapsedMs - m_Ms);
    if (length != m_FrameMs) {
        m_FrameMs = length;
        Line("frame " + std::to_string(m_FrameMs));
    }
    m_Ms = elapsedMs;
}

void ScriptRecorder::Key(int32_t scanCode, bool down) {
    const std::string name = KeyNameForScanCode(scanCode);
    if (!name.empty()) Line("key " + name + (down ? " down" : " up"));
}

void ScriptRecorder::MouseMove(float x, float y) {
    m_MovePending = true;
    m_MoveX = x;
    m_MoveY = y;
}

void ScriptRecorder::FlushMove() {
    if (!m_MovePending) return;
    m_MovePending = false;
    if (m_MoveX == m_WrittenX && m_MoveY == m_WrittenY) return;
    m_WrittenX = m_MoveX;
    m_WrittenY = m_MoveY;
    Line("mouse move " + Number(m_MoveX) + " " + Number(m_MoveY));
}

void ScriptRecorder::MouseButton(int32_t button, bool down, float x, float y) {
    if (button != 1 && button != 2) return;
    // The runner presses where its pointer is: bring it to where this button changed.
    if (!m_MovePending && (x != m_WrittenX || y != m_WrittenY)) MouseMove(x, y);
    FlushMove();
    Line(std::string("mouse ") + (button == 1 ? "left" : "right") + (down ? " down" : " up"));
}

void ScriptRecorder::MouseWheel(int32_t steps) { Line("mouse wheel " + std::to_string(steps)); }

void ScriptRecorder::JoyButton(int32_t button, bool down) {
    if (button < 0 || button > 20) return;
    UsesJoystick();
    Line("joy button " + std::to_string(button) + (down ? " down" : " up"));
}

void ScriptRecorder::JoyAxes(int32_t x, int32_t y) {
    if (x == m_AxisX && y == m_AxisY) return;
    UsesJoystick();
    if (x != m_AxisX) Line("joy axis x " + std::to_string(x));
    if (y != m_AxisY) Line("joy axis y " + std::to_string(y));
    m_AxisX = x;
    m_AxisY = y;
}

void ScriptRecorder::Window(GfxWindowAction action) {
    FlushMove();
    switch (action) {
        case GfxWindowAction::FocusLost:
            return Line("window focus lost");
        case GfxWindowAction::FocusGained:
            return Line("window focus gained");
        case GfxWindowAction::Minimize:
            return Line("window minimize");
        case GfxWindowAction::Restore:
            return Line("window restore");
        case GfxWindowAction::Close:
            return Line("window close");
    }
}

void ScriptRecorder::PumpDone() { FlushMove(); }

std::string ScriptRecorder::Text() const { return m_Text + EndLine(); }

std::string ScriptRecorder::Finish() {
    m_Text += EndLine();
    return std::move(m_Text);
}

std::string ScriptRecorder::EndLine() const { return "end " + std::to_string(Now() + m_FrameMs) + "\n"; }
