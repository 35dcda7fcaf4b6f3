// The one interface between the portable core and the operating system, one header per concern: files, text,
// paths, folders, system, drives and file operations. Every service has a Win32 backend (win32/) and a POSIX
// backend (posix/) with the same observable behaviour. Code that needs one concern includes its header; this one
// brings them all.
#pragma once

#include "platform/drives.h"
#include "platform/file_attributes.h"
#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/text.h"
