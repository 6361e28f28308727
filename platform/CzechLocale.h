// SPDX-License-Identifier: GPL-3.0-or-later
// The program is Czech whatever the session's locale says: Qt's own texts (its Czech translation and the
// few texts it lacks), the locale of the widgets, and the system locale by which Qt's file dialog writes
// dates and sizes.
#pragma once

class QApplication;

namespace platform {

// Before the application is made: Qt reads its system locale from the environment, so the environment
// says Czech while Qt reads it. The C library keeps the session's own locale.
void prepareCzechSystemLocale();

// After it: Qt has its Czech system locale, the environment is the session's again (for the programs
// started from here), and the widgets' locale and Qt's texts are Czech.
void speakCzech(QApplication& app);

}  // namespace platform
