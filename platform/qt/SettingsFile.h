// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the user's settings may be read and written: QSettings opens its files without
// looking at what they are, and a named pipe or a device there would hang the program.
#pragma once

#include <QString>

// Points the settings of this process into folder (QSettings::setPath for the native format
// and the user scope), where SettingsFileProblem also looks. For tests and screenshots.
void SetSettingsFolder(const QString& folder);

// Empty when every file QSettings would read for the application's organisation and name
// is a plain file or absent; otherwise one sentence naming the first that is not and saying
// that the program goes on without settings.
QString SettingsFileProblem();
