# The build users get (the i686 tree): code that runs on any Pentium-class CPU
# (no CMOV, no SSE) and on Windows 98 SE to XP, and a gate after the build
# that fails when a shipped file could not start there. The compiler's
# default CPU is the Pentium Pro (CMOV); MinGW's prebuilt code is compiled
# for it, so this file also keeps that out of the programs.
if(NOT (WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686"))
  return()
endif()

# What users get: the files of the program folder the gate checks. A name
# that no target of the tree builds is reported and skipped.
set(TOVARO_SHIPPED_FILES tovaro.exe tovaroc.exe a10.dll)

# Pentium instructions only; tuned for the CPUs of today, where most copies
# run in a virtual machine.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-march=i586;-mtune=generic>")
# msvcrt's printf instead of MinGW's (see runtime/ms_stdio.h).
add_compile_definitions(__USE_MINGW_ANSI_STDIO=0)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-include${CMAKE_SOURCE_DIR}/runtime/ms_stdio.h>")
# Subsystem and OS version 4.0 in the PE headers: Windows 98 refuses a
# program that asks for a newer subsystem, XP one above 5.1. MinGW's startup
# objects are replaced by runtime/ (they use CMOV
# before main). Data imported from a DLL without dllimport would need MinGW's
# run-time relocation code: make that a link error instead.
add_link_options(-nostartfiles "-Wl,--major-subsystem-version,4,--minor-subsystem-version,0"
                 "-Wl,--major-os-version,4,--minor-os-version,0" "-Wl,--disable-runtime-pseudo-reloc")

# Every target of the tree, also those added in subdirectories.
function(tovaro_collect_targets directory result)
  get_property(targets DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY "${directory}" PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    tovaro_collect_targets("${subdirectory}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()

# Every target a program or DLL links, directly or through other libraries.
function(tovaro_link_closure target result)
  set(closure ${${result}})
  get_target_property(libraries ${target} LINK_LIBRARIES)
  foreach(library IN LISTS libraries)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
    if(TARGET ${library} AND NOT library IN_LIST closure)
      list(APPEND closure ${library})
      set(${result} ${closure} PARENT_SCOPE)
      tovaro_link_closure(${library} closure)
    endif()
  endforeach()
  set(${result} ${closure} PARENT_SCOPE)
endfunction()

# Runs when the whole tree is configured: gives each program and DLL its
# start-up code, and compiles everything that goes into one without
# exceptions: the exception runtime and the unwinder are prebuilt for the
# Pentium Pro. No code of the programs throws; a library error ends the
# program (runtime/library_errors.cpp); nothing uses RTTI,
# whose type-info classes are prebuilt with CMOV as well. The programs have one thread, so
# function-local statics need no lock. (Libraries no program links, like the
# test double, keep the defaults.)
function(tovaro_link_runtime)
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/maps")
  tovaro_collect_targets("${CMAKE_SOURCE_DIR}" targets)
  set(closure "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(window ${target} WIN32_EXECUTABLE)
      if(window)
        target_link_libraries(${target} PRIVATE runtime_common runtime_window)
      else()
        target_link_libraries(${target} PRIVATE runtime_common runtime_console)
      endif()
    elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      target_link_libraries(${target} PRIVATE runtime_common runtime_dll)
    else()
      continue()
    endif()
    # Which object brought in what: the gate names it when it fails.
    target_link_options(${target} PRIVATE "-Wl,-Map,${CMAKE_BINARY_DIR}/maps/$<TARGET_FILE_NAME:${target}>.map")
    list(APPEND closure ${target})
    tovaro_link_closure(${target} closure)
  endforeach()
  list(REMOVE_DUPLICATES closure)
  foreach(target IN LISTS closure)
    # The seams' headers (platform) compile nothing of their own.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      continue()
    endif()
    target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions;-fno-rtti;-fno-threadsafe-statics>")
  endforeach()
  tovaro_add_gate()
endfunction()

# The sources compiled into a program, as absolute paths.
function(tovaro_program_sources program result)
  set(targets ${program})
  tovaro_link_closure(${program} targets)
  set(sources "")
  foreach(target IN LISTS targets)
    get_target_property(directory ${target} SOURCE_DIR)
    get_target_property(files ${target} SOURCES)
    foreach(file IN LISTS files)
      if(file MATCHES "\\.(c|cpp|h)$" AND NOT file MATCHES "^\\$<")
        get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${directory}")
        list(APPEND sources "${file}")
      endif()
    endforeach()
  endforeach()
  set(${result} ${sources} PARENT_SCOPE)
endfunction()

# The gate runs after every build that changed a program, and fails the
# build while a shipped file could not start on Windows 98 SE, XP or a
# Pentium-class CPU (tools/compat/gate.py). Its stamp is only written when
# it passes, so a failed gate runs again on the next build.
function(tovaro_add_gate)
  find_program(TOVARO_PYTHON python3 REQUIRED)
  tovaro_collect_targets("${CMAKE_SOURCE_DIR}" targets)
  set(programs "")
  set(files "")
  set(listing "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    # Programs built only when asked for by name (the benchmarks) are not
    # what users get: the gate must not build them.
    get_target_property(on_demand ${target} EXCLUDE_FROM_ALL)
    if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$" AND NOT on_demand)
      list(APPEND programs ${target})
      list(APPEND files "$<TARGET_FILE:${target}>")
      tovaro_program_sources(${target} sources)
      list(JOIN sources "\n" sources)
      string(APPEND listing "== $<TARGET_FILE_NAME:${target}>\n${sources}\n")
    endif()
  endforeach()
  set(gate_dir "${CMAKE_BINARY_DIR}/gate")
  file(GENERATE OUTPUT "${gate_dir}/sources.txt" CONTENT "${listing}")
  set(compat "${CMAKE_SOURCE_DIR}/tools/compat")
  list(JOIN TOVARO_SHIPPED_FILES " " shipped)
  add_custom_command(
    OUTPUT "${gate_dir}/passed.stamp"
    COMMAND "${TOVARO_PYTHON}" "${compat}/gate.py" --exports "${compat}/win32_exports.txt" --objdump "${CMAKE_OBJDUMP}"
            --maps "${CMAKE_BINARY_DIR}/maps" --waivers "${compat}/waivers.txt" --sources "${gate_dir}/sources.txt"
            --shipped "${shipped}" ${files}
    COMMAND "${CMAKE_COMMAND}" -E touch "${gate_dir}/passed.stamp"
    DEPENDS ${programs} "${compat}/gate.py" "${compat}/win32_exports.txt" "${compat}/waivers.txt"
            "${gate_dir}/sources.txt"
    COMMENT "Checking the shipped files for Windows 98 SE, XP and Pentium-class CPUs"
    VERBATIM)
  add_custom_target(compat_gate ALL DEPENDS "${gate_dir}/passed.stamp")
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL tovaro_link_runtime)
