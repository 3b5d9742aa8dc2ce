// The five checks of HKEY_CLASSES_ROOT: COM classes, class keys, type
// libraries, interfaces and file extensions. Each walks the subkeys of its base
// key, follows what each registration points at (another key, or a file) and
// reports every reference whose target is missing through AddRegistryError.
// They only read the registry, and they report everything: the excluded-keys
// list is the window's business.
//
// Every path is taken from the root; B below is the base path the scan passes
// ("CLSID\", "", "TypeLib\", "Interface\", "\"). A key that does not exist or
// cannot be opened for reading is skipped without a report; only a missing
// target is a problem. A default value that is not a string cannot be read as
// text: CheckCLSIDs drops only the test it was reading for, the other four let
// the failure end the scan.
#pragma once

#include <string>

#include "registry/RegistryTypes.h"
#include "scan/FileReferences.h"
#include "scan/ScanChecks.h"

namespace tidewell {

class TRegistryCheckThread;

// Fills the five class slots of `checks`. `refs` serves the file tests and
// must outlive every scan that runs the checks.
void AddClassChecks(TScanChecks& checks, TFileReferences& refs);

// Per class: its InprocServer32 and InprocServer files, and its ProgID,
// VersionIndependentProgId and TypeLib keys.
void CheckCLSIDs(TRegistryCheckThread& engine, TFileReferences& refs,
                 TRootKey root, const std::string& basePath);
// Per class key (not "*", not an extension): the CLSID and CurVer keys it
// names and its DefaultIcon file.
void CheckClasses(TRegistryCheckThread& engine, TFileReferences& refs,
                  TRootKey root, const std::string& basePath);
// Per type library, version and locale: the Win32 and Win16 files and the
// help folder.
void CheckTypeLibs(TRegistryCheckThread& engine, TFileReferences& refs,
                   TRootKey root, const std::string& basePath);
// Per interface: its type library (and version), proxy classes and base
// interface, each of which must also be registered under Software\Classes
// of HKEY_LOCAL_MACHINE or of HKEY_CURRENT_USER.
// Each target is looked for in the view of the key that names it
// (RegistryViews.h), as `refs` sees the views of a 64-bit registry.
void CheckInterfaces(TRegistryCheckThread& engine, TFileReferences& refs,
                     TRootKey root, const std::string& basePath);
// Per extension: the class it belongs to, its content type and its persistent
// handler.
void CheckFileExtensions(TRegistryCheckThread& engine, TFileReferences& refs,
                         TRootKey root, const std::string& basePath);

}  // namespace tidewell
