# Fails when a program or library imports a function or DLL that is newer than
# the oldest Windows it is meant to start on.
#   cmake -DOBJDUMP=... -DMIN=5.1 "-DFILES=a.exe;b.dll" [-DREMOVE_ON_FAIL=file] -P check_imports.cmake
# MIN is major.minor: 5.1 Windows XP, 5.2 XP x64 and Server 2003, 6.0 Vista,
# 6.1 Windows 7, 6.2 Windows 8, 10.0 Windows 10. REMOVE_ON_FAIL names a file
# to delete on failure (the linked image), so the next build links and checks again.

# Known calls and DLLs that older systems lack, with the version that brought them.
set(newer_calls
  # kernel32
  GetTickCount64=6.0
  InitializeSRWLock=6.0 AcquireSRWLockExclusive=6.0 AcquireSRWLockShared=6.0
  ReleaseSRWLockExclusive=6.0 ReleaseSRWLockShared=6.0
  TryAcquireSRWLockExclusive=6.1 TryAcquireSRWLockShared=6.1
  InitializeConditionVariable=6.0 SleepConditionVariableCS=6.0 SleepConditionVariableSRW=6.0
  WakeConditionVariable=6.0 WakeAllConditionVariable=6.0
  InitOnceInitialize=6.0 InitOnceExecuteOnce=6.0 InitOnceBeginInitialize=6.0 InitOnceComplete=6.0
  InitializeCriticalSectionEx=6.0
  CreateEventExA=6.0 CreateEventExW=6.0 CreateMutexExA=6.0 CreateMutexExW=6.0
  CreateSemaphoreExA=6.0 CreateSemaphoreExW=6.0 CreateWaitableTimerExW=6.0
  FlsAlloc=5.2 FlsFree=5.2 FlsGetValue=5.2 FlsSetValue=5.2
  GetThreadId=5.2 GetProcessIdOfThread=5.2 GetCurrentProcessorNumber=6.0
  GetFinalPathNameByHandleA=6.0 GetFinalPathNameByHandleW=6.0
  QueryFullProcessImageNameA=6.0 QueryFullProcessImageNameW=6.0
  GetFileInformationByHandleEx=6.0 SetFileInformationByHandle=6.0
  CreateSymbolicLinkA=6.0 CreateSymbolicLinkW=6.0 GetErrorMode=6.0
  GetLocaleInfoEx=6.0 LCIDToLocaleName=6.0 LocaleNameToLCID=6.0 GetUserDefaultLocaleName=6.0
  CompareStringEx=6.0 LCMapStringEx=6.0 GetDateFormatEx=6.0 GetTimeFormatEx=6.0
  GetActiveProcessorCount=6.1 GetLogicalProcessorInformationEx=6.1 SetThreadGroupAffinity=6.1
  GetSystemTimePreciseAsFileTime=6.2 CreateFile2=6.2 GetCurrentThreadStackLimits=6.2
  WaitOnAddress=6.2 WakeByAddressSingle=6.2 WakeByAddressAll=6.2
  SetThreadDescription=10.0 GetThreadDescription=10.0
  # advapi32
  RegGetValueA=6.0 RegGetValueW=6.0 RegDeleteTreeA=6.0 RegDeleteTreeW=6.0
  RegSetKeyValueA=6.0 RegSetKeyValueW=6.0
  # user32
  SetProcessDPIAware=6.0 IsProcessDPIAware=6.0 ChangeWindowMessageFilter=6.0
  ShutdownBlockReasonCreate=6.0 AddClipboardFormatListener=6.0 RemoveClipboardFormatListener=6.0
  ChangeWindowMessageFilterEx=6.1 RegisterTouchWindow=6.1
  GetDpiForWindow=10.0 GetDpiForSystem=10.0 SetProcessDpiAwarenessContext=10.0
  SystemParametersInfoForDpi=10.0 EnableNonClientDpiScaling=10.0
  # shell32, comctl32
  SHGetKnownFolderPath=6.0 SHGetKnownFolderIDList=6.0 SHCreateItemFromParsingName=6.0
  SHGetStockIconInfo=6.0 SetCurrentProcessExplicitAppUserModelID=6.1
  TaskDialog=6.0 TaskDialogIndirect=6.0 LoadIconMetric=6.0 LoadIconWithScaleDown=6.0)
set(newer_dlls
  dwmapi.dll=6.0 bcrypt.dll=6.0 ncrypt.dll=6.0 propsys.dll=6.0 ucrtbase.dll=10.0
  vcruntime140.dll=10.0 msvcp140.dll=10.0 libwinpthread-1.dll=99)

foreach(var OBJDUMP MIN FILES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_imports.cmake needs -D${var}=...")
  endif()
endforeach()

set(problems "")
foreach(file ${FILES})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: build it first (scripts/test builds every target)")
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p failed on ${file}")
  endif()
  string(FIND "${dump}" "The Import Tables" at)
  if(at LESS 0)
    message(FATAL_ERROR "${file} has no import table")
  endif()
  string(SUBSTRING "${dump}" ${at} -1 dump)
  # Only the import tables: what follows (exports, unwind data, relocations) can be long.
  foreach(next "\nThere is an export table" "\nThe Export Tables" "\nThe Function Table" "\nPE File Base Relocations")
    string(FIND "${dump}" "${next}" end)
    if(end GREATER 0)
      string(SUBSTRING "${dump}" 0 ${end} dump)
    endif()
  endforeach()
  string(REPLACE ";" "," dump "${dump}")
  string(REPLACE "\n" ";" lines "${dump}")
  set(dll "")
  set(count 0)
  foreach(line IN LISTS lines)
    if(line MATCHES "DLL Name: ([^ \t]+)")
      string(TOLOWER "${CMAKE_MATCH_1}" dll)
      foreach(entry ${newer_dlls})
        string(REPLACE "=" ";" pair ${entry})
        list(GET pair 0 name)
        list(GET pair 1 since)
        if(dll STREQUAL name AND since VERSION_GREATER MIN)
          list(APPEND problems "${file}: ${dll} (Windows ${since})")
        endif()
      endforeach()
    elseif(dll AND line MATCHES "^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+([A-Za-z_][A-Za-z0-9_@]*)")
      set(call ${CMAKE_MATCH_1})
      math(EXPR count "${count} + 1")
      foreach(entry ${newer_calls})
        string(REPLACE "=" ";" pair ${entry})
        list(GET pair 0 name)
        list(GET pair 1 since)
        if(call STREQUAL name AND since VERSION_GREATER MIN)
          list(APPEND problems "${file}: ${dll} ${call} (Windows ${since})")
        endif()
      endforeach()
    endif()
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "no imported function found in ${file}: the objdump output was not understood")
  endif()
endforeach()

if(problems)
  if(REMOVE_ON_FAIL)
    file(REMOVE ${REMOVE_ON_FAIL})
  endif()
  string(REPLACE ";" "\n  " problems "${problems}")
  message(FATAL_ERROR "Imports newer than Windows ${MIN}:\n  ${problems}")
endif()
