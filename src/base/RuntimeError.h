// SPDX-License-Identifier: GPL-3.0-or-later
// Run-time errors as the rules number them, and the signal that ends the program in order.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ErrorNumber {
constexpr int32_t KeyNotFound = 5;
constexpr int32_t Overflow = 6;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t FileNotFound = 53;
constexpr int32_t PathNotFound = 76;
}  // namespace ErrorNumber

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int32_t number, const std::string& description) : std::runtime_error(description), m_Number(number) {}
    int32_t Number() const { return m_Number; }

private:
    int32_t m_Number;
};

// Thrown by ShutdownGame so that the program ends without returning into its caller.
// Only Main catches it; it does not derive from std::exception so no generic handler swallows it.
struct ExitSignal {
    int exitCode;
};
