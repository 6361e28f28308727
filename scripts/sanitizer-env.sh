# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced: how the sanitizers report. A finding stops the program with a failing exit status; third-party
# leaks inside the desktop libraries are suppressed (tests/fuzz/lsan.supp), ours never.
_mivex_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$_mivex_root/tests/fuzz/lsan.supp:print_suppressions=0"
