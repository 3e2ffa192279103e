# Builds the packages of one Windows build: the Windows Installer package, with the programs' file
# versions and the public SETSAVER property that wixl leaves out, and a zip for installing by hand.
#   cmake -DARCH=x64|x86 -DVERSION=1.0.0 -DDIST=<folder with both programs> -DACTIONS=<custom action DLL>
#         -DOUT=<folder> [-DSIGN_PFX=<code-signing certificate> [-DSIGN_TIMESTAMP=<server>]]
#         -P cmake/package.cmake
# writes OUT/Vitrelux-VERSION-ARCH.msi and OUT/Vitrelux-VERSION-ARCH.zip. With a certificate, whose
# password the environment's VITRELUX_SIGN_PASSWORD holds, the programs and the custom action DLL
# are signed before they are packed, and the package after (cmake/sign.sh), countersigned by the
# timestamp server if one is given.
cmake_minimum_required(VERSION 3.25)
get_filename_component(root ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)

set(name Vitrelux-${VERSION}-${ARCH})
# One for every version and both builds: each replaces the other.
set(upgrade_code 0063392D-5C1B-49AB-8BB0-6C9A82C0795A)
# NOTE: wixl finds sources only by relative names, so everything goes into one folder first.
set(stage ${OUT}/stage-${name})
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY ${DIST}/Vitrelux.scr ${DIST}/Vitrelux.dll ${ACTIONS} ${root}/saver/settings_dialog/vitrelux.ico
  ${root}/package/INSTALL.txt DESTINATION ${stage})
get_filename_component(actions ${ACTIONS} NAME)

function(run)
  execute_process(COMMAND ${ARGV} WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${ARGV} failed")
  endif()
endfunction()

function(sign file)
  if(NOT SIGN_PFX)
    return()
  endif()
  execute_process(COMMAND ${root}/cmake/sign.sh ${SIGN_PFX} ${file} "${SIGN_TIMESTAMP}" RESULT_VARIABLE failed)
  if(failed)
    file(REMOVE ${file}.signed)
    message(FATAL_ERROR "signing ${file} failed")
  endif()
endfunction()

foreach(file Vitrelux.scr Vitrelux.dll ${actions})
  sign(${stage}/${file})
endforeach()

run(${WIXL} -a ${ARCH} -D Version=${VERSION} -D Arch=${ARCH} -D UpgradeCode=${upgrade_code}
  -D ScreenSaver=Vitrelux.scr -D Renderer=Vitrelux.dll
  -D SetupActions=${actions} -D Icon=vitrelux.ico -o ${OUT}/${name}.msi ${root}/package/vitrelux.wxs)
# Windows replaces an installed file by a newer one only by the version in this table; a versioned
# file has no hash. The programs' version resources say the same version, in Japanese (1041).
# SETSAVER joins the properties wixl lists as secure, so that it reaches an elevated install.
# NOTE: msibuild fails on a second query in one call, and on a DELETE with OR: one query a call.
function(query text)
  execute_process(COMMAND ${MSIBUILD} ${OUT}/${name}.msi -q "${text}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "msibuild: ${text} failed")
  endif()
endfunction()
set(secure "SETSAVER;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED")
query("UPDATE Property SET Value='${secure}' WHERE Property='SecureCustomProperties'")
# The same version is replaced too (VersionMaxInclusive, 512), so that two builds of one version,
# or the x86 and x64 packages of it, are never installed side by side. wixl has no such option,
# and the attributes are part of the row's key, which cannot be updated.
query("DELETE FROM Upgrade WHERE ActionProperty='WIX_UPGRADE_DETECTED'")
query("INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) VALUES ('{${upgrade_code}}', '${VERSION}', 513, 'WIX_UPGRADE_DETECTED')")
# wixl marks actions that set a property (type 51) as run without impersonation (2048), which
# only deferred actions may be (ICE68).
query("UPDATE CustomAction SET Type=51 WHERE Type=2099")
# wixl has no rollback actions: RestoreSaver is a DLL action (1) that ignores its result (64), run
# from the script (1024) when the install rolls back (256).
query("UPDATE CustomAction SET Type=1345 WHERE Action='RestoreSaver'")
foreach(file VitreluxScr VitreluxDll)
  query("UPDATE File SET Version='${VERSION}.0', Language='1041' WHERE File='${file}'")
  query("DELETE FROM MsiFileHash WHERE File_='${file}'")
endforeach()
sign(${OUT}/${name}.msi)
run(${CMAKE_COMMAND} -E tar cf ${OUT}/${name}.zip --format=zip Vitrelux.scr Vitrelux.dll INSTALL.txt)
file(REMOVE_RECURSE ${stage})
