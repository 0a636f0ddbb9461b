#!/usr/bin/env bash
# check_imports.sh EXE MAX_VERSION [LISTED_IMPORTS]
# Reads the import table and the PE header of a built program with the mingw objdump and
# fails when the program could not load on the oldest Windows it is meant for: an import of a
# function that this Windows lacks, a DLL that is not part of the system, or an OS or subsystem
# version above MAX_VERSION (5.0 for the 32-bit program, Windows 2000; 5.2 for the 64-bit one,
# the version of the first 64-bit Windows, XP x64 and Server 2003 x64). With LISTED_IMPORTS,
# every imported function must also be one of that file's (see windows2000_imports.txt).
set -u
usage="usage: check_imports.sh EXE MAX_VERSION [LISTED_IMPORTS]"
exe=${1:?$usage}
max=${2:?$usage}
listed=${3:-}
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
[ -n "$objdump" ] || { echo "no mingw objdump found"; exit 1; }
dump=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }

# Functions that exist only from Windows Vista on (or only in Windows 7 and later).
vista_only="GetTickCount64 InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
ReleaseSRWLockExclusive ReleaseSRWLockShared TryAcquireSRWLockExclusive
InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce InitOnceBeginInitialize
CreateEventExA CreateEventExW CreateMutexExW CreateSemaphoreExW GetFileInformationByHandleEx
SetFileInformationByHandle CancelIoEx GetFinalPathNameByHandleA GetFinalPathNameByHandleW
QueryFullProcessImageNameA QueryFullProcessImageNameW CreateSymbolicLinkA CreateSymbolicLinkW
GetLocaleInfoEx LCMapStringEx CompareStringEx GetUserDefaultLocaleName FlsAlloc FlsGetValue
FlsSetValue FlsFree GetErrorMode SetThreadErrorMode GetThreadErrorMode RegGetValueA
RegGetValueW RegDeleteTreeA RegDeleteTreeW SHGetKnownFolderPath TaskDialog
TaskDialogIndirect ChangeWindowMessageFilter SetProcessDPIAware"
# Functions that exist only from Windows XP or Server 2003 on: refused below version 5.1.
xp_only="AddVectoredExceptionHandler RemoveVectoredExceptionHandler AddVectoredContinueHandler
RemoveVectoredContinueHandler GetModuleHandleExA GetModuleHandleExW GetNativeSystemInfo
IsWow64Process GetSystemTimes AttachConsole GetConsoleProcessList GetProcessId EncodePointer
DecodePointer InitializeSListHead InterlockedPushEntrySList InterlockedPopEntrySList
InterlockedFlushSList QueryDepthSList HeapSetInformation HeapQueryInformation
GetLogicalProcessorInformation SetDllDirectoryA SetDllDirectoryW CheckRemoteDebuggerPresent
GetSystemWow64DirectoryA GetSystemWow64DirectoryW CreateMemoryResourceNotification
TzSpecificLocalTimeToSystemTime RtlCaptureContext RtlCaptureStackBackTrace
WTSGetActiveConsoleSessionId SetFileValidData PrintWindow GetLayeredWindowAttributes IsGUIThread
DisableProcessWindowsGhosting RegisterRawInputDevices GetRawInputData CreateWellKnownSid
RegDeleteKeyExA RegDeleteKeyExW SHGetFolderPathAndSubDirA SetWindowSubclass DefSubclassProc
RemoveWindowSubclass __iob_func _aligned_malloc _aligned_free _time64 _localtime64 _gmtime64
_mktime64 _fseeki64 _ftelli64 _strtoi64 _strtoui64 _vscprintf _scprintf _set_invalid_parameter_handler
_get_errno _set_errno _configthreadlocale _create_locale ___lc_codepage_func ___mb_cur_max_func"
# The DLLs that every Windows from 2000 on brings along.
system_dlls="kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll
advapi32.dll version.dll wininet.dll ws2_32.dll msvcrt.dll"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

imports=$(printf '%s\n' "$dump" | awk '/^\t[0-9a-f]+\t +[0-9]+ /{print $NF}' | sort -u)
[ -n "$imports" ] || fail "no imports found (objdump output not understood)"
for name in $vista_only; do
  printf '%s\n' "$imports" | grep -qx "$name" && fail "imports $name, which Windows XP lacks"
done
if [ "${max%%.*}" -lt 5 ] || [ "$max" = 5.0 ]; then
  for name in $xp_only; do
    printf '%s\n' "$imports" | grep -qx "$name" && fail "imports $name, which Windows 2000 lacks"
  done
fi
if [ -n "$listed" ]; then
  known=$(grep -v '^[#[]' "$listed" | grep .)
  for name in $imports; do
    printf '%s\n' "$known" | grep -qx "$name" ||
      fail "imports $name, which $(basename "$listed") does not list (check its minimum Windows)"
  done
fi

dlls=$(printf '%s\n' "$dump" | awk '/DLL Name:/{print tolower($3)}' | sort -u)
for dll in $dlls; do
  case " $(echo $system_dlls) " in
    *" $dll "*) ;;
    *) fail "imports from $dll, which is not part of the system" ;;
  esac
done

version_ok() {  # major minor -> within MAX_VERSION?
  local want_major=${max%%.*} want_minor=${max#*.}
  [ "$1" -lt "$want_major" ] || { [ "$1" -eq "$want_major" ] && [ "$2" -le "$want_minor" ]; }
}
field() { printf '%s\n' "$dump" | awk -v f="$1" '$1 == f {print $2; exit}'; }
for kind in OSystem Subsystem; do
  major=$(field "Major${kind}Version")
  minor=$(field "Minor${kind}Version")
  [ -n "$major" ] && [ -n "$minor" ] || { fail "no ${kind} version in the header"; continue; }
  version_ok "$major" "$minor" || fail "asks for ${kind} version $major.$minor, above $max"
done

if [ "$failures" -gt 0 ]; then
  echo "$exe cannot load on its oldest Windows ($failures findings)"
  exit 1
fi
echo "$exe: $(printf '%s\n' "$imports" | wc -l) imports from $(echo $dlls | wc -w) system DLLs, versions within $max"
