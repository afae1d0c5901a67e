// SPDX-License-Identifier: GPL-3.0-or-later
// File names are bytes: the folder and the last name of a path, and the file a link names.
#pragma once

#include <string>

// The folder of path: "." for a bare name, "/" for a name at the root.
std::string FolderOf(const std::string& path);
// The last name of path.
std::string BaseNameOf(const std::string& path);
// Follows symbolic links (up to 16), so that saving replaces the file a link points to,
// not the link; a name that is not a link is returned as it is.
std::string ResolveTarget(const std::string& path);
