// SPDX-License-Identifier: GPL-3.0-or-later
// Default options for sanitized builds of the build-time tools. Fontconfig keeps its font caches for
// the life of a process, which the leak checker would report and so fail the build; memory errors
// are still caught. Unsanitized builds never call this.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
