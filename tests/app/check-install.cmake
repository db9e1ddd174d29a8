# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Quellar into a fresh prefix (not the one configured), checks what landed there,
# validates the desktop entry and the AppStream data, and starts both installed programs
# with a fresh HOME: each must find its factory data beside itself.
# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPREFIX=... -DVERSION=... -P check-install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()

function(expect_file path)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endfunction()

function(expect_contains path text)
  expect_file(${path})
  file(READ "${PREFIX}/${path}" content)
  string(FIND "${content}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${path} lacks: ${text}")
  endif()
endfunction()

# Every file of the factory tree is installed, unchanged.
file(GLOB_RECURSE factory RELATIVE "${SOURCE_DIR}/packaging/data/modules" "${SOURCE_DIR}/packaging/data/modules/*")
list(LENGTH factory count)
if(count EQUAL 0)
  message(FATAL_ERROR "the factory tree is empty")
endif()
foreach(f IN LISTS factory)
  expect_file("share/quellar/modules/${f}")
  file(SHA256 "${SOURCE_DIR}/packaging/data/modules/${f}" want)
  file(SHA256 "${PREFIX}/share/quellar/modules/${f}" got)
  if(NOT want STREQUAL got)
    message(FATAL_ERROR "installed ${f} differs from the source")
  endif()
endforeach()
expect_file("share/quellar/modules/img/trayIcon.ico")

file(GLOB rules RELATIVE "${PREFIX}/lib/udev/rules.d" "${PREFIX}/lib/udev/rules.d/*.rules")
if(NOT rules MATCHES "^([0-6][0-9]|7[0-2])-")
  message(FATAL_ERROR "the udev rule must sort before 73-seat-late.rules: ${rules}")
endif()
expect_contains("lib/udev/rules.d/${rules}" "SUBSYSTEM==\"hidraw\"")
expect_contains("lib/udev/rules.d/${rules}" "ATTRS{idVendor}==\"04d9\"")
expect_contains("lib/udev/rules.d/${rules}" "ATTRS{idProduct}==\"a171\"")
expect_contains("lib/udev/rules.d/${rules}" "TAG+=\"uaccess\"")

expect_contains("share/applications/quellar.desktop" "\nExec=quellar\n")
expect_contains("share/applications/quellar.desktop" "\nIcon=quellar\n")
expect_contains("share/applications/quellar.desktop" "\nName[zh_CN]=")
expect_contains("share/icons/hicolor/scalable/apps/quellar.svg" "<svg")
expect_contains("share/doc/quellar/LICENSE" "GNU GENERAL PUBLIC LICENSE\n                       Version 3")
set(metainfo "share/metainfo/org.quellar.quellar.metainfo.xml")
expect_contains(${metainfo} "<launchable type=\"desktop-id\">quellar.desktop</launchable>")
# The newest release named in the metainfo is the project's version.
expect_contains(${metainfo} "<releases>\n    <release version=\"${VERSION}\"")
foreach(program quellar quellarctl)
  expect_file("bin/${program}")
  string(TOUPPER ${program} program_upper)
  expect_contains("share/man/man1/${program}.1" ".TH ${program_upper} \"1\"")
endforeach()
expect_contains("share/man/man1/quellar.1" "\\-\\-hidden")

function(validate)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}")
  endif()
endfunction()
validate(desktop-file-validate "${PREFIX}/share/applications/quellar.desktop")
validate(appstreamcli validate --no-net "${PREFIX}/${metainfo}")

# A new user: fresh HOME, no XDG data folder, a private runtime folder and no session bus.
set(home "${PREFIX}-home")
file(REMOVE_RECURSE "${home}")
file(MAKE_DIRECTORY "${home}/runtime")
file(CHMOD "${home}/runtime" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(user_env ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=XDG_CONFIG_HOME "HOME=${home}"
    "XDG_RUNTIME_DIR=${home}/runtime" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent QT_QPA_PLATFORM=offscreen)
# A file only the installed tree has: seeded, it proves the program did not fall back to the
# source tree's copy.
file(WRITE "${PREFIX}/share/quellar/modules/setting/installed-only.txt" "installed\n")
set(seeded "${home}/.local/share/quellar/modules/setting")

validate(${user_env} "${PREFIX}/bin/quellarctl" --virtual-device call getProfile)
if(NOT EXISTS "${seeded}/installed-only.txt" OR NOT EXISTS "${seeded}/apConfig.bin")
  message(FATAL_ERROR "installed quellarctl did not seed ${seeded} from ${PREFIX}/share/quellar")
endif()

# quellar runs until it is ended: it is given a few seconds, then its data folder is read.
file(REMOVE_RECURSE "${home}/.local")
execute_process(COMMAND ${user_env} "${PREFIX}/bin/quellar" --virtual-device --hidden TIMEOUT 4
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT EXISTS "${seeded}/installed-only.txt" OR NOT EXISTS "${seeded}/apConfig.bin")
  message(FATAL_ERROR "installed quellar did not seed ${seeded} from ${PREFIX}/share/quellar:\n${out}")
endif()
file(REMOVE_RECURSE "${home}")
message(STATUS "install layout checked (${count} factory files)")
