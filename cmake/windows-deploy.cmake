# The program folder on Windows: beside doorsel.exe and its two modules, the Qt libraries and
# plugins they load and the MinGW runtime those libraries need. No windeployqt exists for a cross
# build, so the list is ours; a test under Wine loads every library in it.
#
# Qt finds its plugins in the program folder's own platforms/, styles/, imageformats/ and tls/.
get_target_property(doorsel_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(doorsel_qt_bin ${doorsel_qt_core_dll} DIRECTORY)
get_filename_component(doorsel_qt_root ${doorsel_qt_bin} DIRECTORY)
set(doorsel_qt_plugins ${doorsel_qt_root}/plugins)

# What the installed program loads; Qt6Test.dll only the GUI tests, beside them in the build.
set(DOORSEL_WINDOWS_LIBRARIES Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll)
set(DOORSEL_WINDOWS_PLUGINS
  platforms/qwindows.dll
  styles/qwindowsvistastyle.dll
  imageformats/qgif.dll imageformats/qico.dll imageformats/qjpeg.dll
  tls/qschannelbackend.dll)
# The tests run offscreen too.
set(DOORSEL_WINDOWS_TEST_PLUGINS platforms/qoffscreen.dll platforms/qminimal.dll)
set(DOORSEL_WINDOWS_RUNTIME)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}")
    find_file(found_${runtime} ${runtime} PATHS /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(found ${found_${runtime}})
  endif()
  list(APPEND DOORSEL_WINDOWS_RUNTIME ${found})
endforeach()

set(copies)
set(outputs)
foreach(library IN LISTS DOORSEL_WINDOWS_LIBRARIES ITEMS Qt6Test.dll)
  list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${doorsel_qt_bin}/${library}
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${library})
  list(APPEND outputs ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${library})
endforeach()
foreach(plugin IN LISTS DOORSEL_WINDOWS_PLUGINS DOORSEL_WINDOWS_TEST_PLUGINS)
  get_filename_component(folder ${plugin} DIRECTORY)
  list(APPEND copies COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${doorsel_qt_plugins}/${plugin}
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${plugin})
  list(APPEND outputs ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${plugin})
endforeach()
foreach(runtime IN LISTS DOORSEL_WINDOWS_RUNTIME)
  get_filename_component(name ${runtime} NAME)
  list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${runtime} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
  list(APPEND outputs ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
endforeach()
add_custom_command(OUTPUT ${outputs} ${copies} COMMENT "Laying out the Qt and MinGW libraries beside doorsel.exe"
  VERBATIM)
add_custom_target(doorsel_windows_libraries ALL DEPENDS ${outputs})
add_dependencies(doorsel doorsel_windows_libraries)

install(TARGETS doorsel RUNTIME DESTINATION .)
install(TARGETS doorsel_gui_module doorsel_about_module LIBRARY DESTINATION .)
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Resources DESTINATION .)
foreach(library IN LISTS DOORSEL_WINDOWS_LIBRARIES)
  install(FILES ${doorsel_qt_bin}/${library} DESTINATION .)
endforeach()
foreach(plugin IN LISTS DOORSEL_WINDOWS_PLUGINS)
  get_filename_component(folder ${plugin} DIRECTORY)
  install(FILES ${doorsel_qt_plugins}/${plugin} DESTINATION ${folder})
endforeach()
install(FILES ${DOORSEL_WINDOWS_RUNTIME} DESTINATION .)

# The installer: `cpack -G NSIS` in the build folder makes doorsel-<version>-win64.exe, an
# administrator's install into Program Files with a Start-menu shortcut and an entry in the list of
# installed programs. Its uninstaller runs `doorsel.exe -uninstall` first.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Doorsel)
set(CPACK_PACKAGE_VENDOR "The Doorsel developers")
set(CPACK_PACKAGE_FILE_NAME doorsel-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Doorsel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Doorsel)
set(CPACK_PACKAGE_EXECUTABLES doorsel Doorsel)
# A 64-bit installer for a 64-bit program: it writes the machine's own registry view, and it runs
# where only 64-bit programs can (a Wine without its 32-bit half among them).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Doorsel)
set(CPACK_NSIS_PACKAGE_NAME Doorsel)
set(CPACK_NSIS_INSTALLED_ICON_NAME doorsel.exe)
set(CPACK_NSIS_URL_INFO_ABOUT http://doorsel.example/doorsel/)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
file(READ ${CMAKE_SOURCE_DIR}/packaging/windows-uninstall.nsh CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS)
# For every user of the machine: the program changes machine-wide settings.
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "SetShellVarContext all")
# The uninstall commands hold quotes, backslashes and semicolons that must reach NSIS as written.
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
