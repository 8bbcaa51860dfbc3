# add_stdcall_dll(<name> DEF <file.def> HEADER <header> SOURCES <files...> LIBRARIES <libs...>)
#
# A Windows DLL whose exports are undecorated stdcall names with fixed ordinals, as its .def file
# gives them (lines "Name=Name@bytes @ordinal"), built with MinGW-w64. Makes the targets:
#   <name>         the DLL, <name>.dll, needing system DLLs only at run time
#   <name>_import  what a caller links with: the header's folder and the import library
# and installs the DLL, the import library lib<name>.dll.a and the header.
#
# Callers that include the header refer to the decorated symbols (Name@bytes); the import library
# is therefore made by dlltool from the decorated names, since the linker's own one only offers the
# undecorated ones. On x86-64 there is no decoration: a 64-bit build (which runs the tests on
# machines that cannot execute 32-bit code) drops the "=Name@bytes" part of each line.
include_guard(GLOBAL)
include(GNUInstallDirs)

# The settings both Windows libraries are built with: a MinGW toolchain, the DLL beside the
# programs that load it, C11 and C++17, and warnings (errors too with TARNIX_WERROR).
macro(windows_dll_defaults name)
  if(NOT WIN32)
    message(FATAL_ERROR "${name} is a Windows library: configure it with a MinGW toolchain file "
                        "(cmake/mingw-i686.cmake).")
  endif()
  option(TARNIX_WERROR "Treat compiler warnings as errors" OFF)
  if(NOT CMAKE_RUNTIME_OUTPUT_DIRECTORY)
    set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
  set(CMAKE_C_STANDARD 11)
  set(CMAKE_C_EXTENSIONS OFF)
  set(CMAKE_CXX_STANDARD 17)
  set(CMAKE_CXX_EXTENSIONS OFF)
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Wall> $<$<COMPILE_LANGUAGE:C,CXX>:-Wextra>
                      $<$<COMPILE_LANGUAGE:C,CXX>:-Wpedantic>
                      $<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<BOOL:${TARNIX_WERROR}>>:-Werror>)
endmacro()

function(add_stdcall_dll name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DEF;HEADER" "SOURCES;LIBRARIES")
  file(READ ${arg_DEF} exports)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${arg_DEF})
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "=[A-Za-z_0-9]+@[0-9]+" "" exports "${exports}")
    set(link_def ${CMAKE_CURRENT_BINARY_DIR}/${name}-x64.def)
    file(CONFIGURE OUTPUT ${link_def} CONTENT "${exports}")
  else()
    set(link_def ${arg_DEF})
  endif()
  string(REGEX REPLACE "[A-Za-z_0-9]+=([A-Za-z_0-9]+@[0-9]+)" "\\1" exports "${exports}")
  set(import_def ${CMAKE_CURRENT_BINARY_DIR}/${name}-import.def)
  file(CONFIGURE OUTPUT ${import_def} CONTENT "${exports}")

  get_filename_component(include_dir ${arg_HEADER} DIRECTORY)
  string(TOUPPER ${name} upper)
  add_library(${name} SHARED ${arg_SOURCES} ${link_def})
  target_include_directories(${name} PRIVATE ${include_dir})
  # The header declares the functions as imported for callers; the library defines them.
  target_compile_definitions(${name} PRIVATE ${upper}_API=)
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
  # Only system DLLs are needed at run time: the compiler's runtime is linked in.
  target_link_options(${name} PRIVATE -static-libgcc)
  set_target_properties(${name} PROPERTIES PREFIX ""
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/linker)

  set(import_library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.dll.a)
  add_custom_command(OUTPUT ${import_library}
    COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${import_def} --dllname ${name}.dll
            --output-lib ${import_library}
    DEPENDS ${import_def}
    COMMENT "Making the import library of ${name}")
  add_custom_target(${name}_import_library ALL DEPENDS ${import_library})
  add_library(${name}_import INTERFACE)
  add_dependencies(${name}_import ${name}_import_library ${name})
  target_include_directories(${name}_import INTERFACE ${include_dir})
  target_link_libraries(${name}_import INTERFACE ${import_library})

  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${import_library} DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${arg_HEADER} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endfunction()
