# One library per subsystem, with the subsystems it builds on spelt out.
# A subsystem sees the headers of its own folder and of the subsystems it
# names (and theirs), nothing else: an include that runs upward, or sideways
# to a subsystem not named, fails to compile. Each subsystem's include root
# under build/layers/ holds links to the folders it may see.
set(layer_root ${CMAKE_BINARY_DIR}/layers)

# cv_subsystem(NAME [DEPENDS sub...] [LIBS lib...]): NAME is the folder under
# src/ and the library cv_NAME. Native builds take only the portable sources.
function(cv_subsystem name)
  cmake_parse_arguments(arg "" "" "DEPENDS;LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/WinMain\\.cpp$")
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "/win/")
  endif()
  set(root ${layer_root}/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
  foreach(dependency ${arg_DEPENDS})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${dependency} ${root}/${dependency} SYMBOLIC)
  endforeach()
  add_library(cv_${name} STATIC ${sources})
  target_include_directories(cv_${name} PUBLIC ${root})
  list(TRANSFORM arg_DEPENDS PREPEND cv_)
  target_link_libraries(cv_${name} PUBLIC ${arg_DEPENDS} ${arg_LIBS})
endfunction()

if(WIN32)
  # Static imports come from DLLs that Windows loads from its own folder
  # only (KnownDLLs); every other system DLL is loaded at run time.
  set(platform_libs advapi32 shell32 shlwapi ole32 oleaut32 uuid user32 gdi32 kernel32)
endif()

cv_subsystem(platform LIBS ${platform_libs})
cv_subsystem(detection DEPENDS platform)
cv_subsystem(install DEPENDS platform detection)
cv_subsystem(cleanup DEPENDS platform)
cv_subsystem(chainer DEPENDS platform detection install cleanup)

# Everything the program is made of; tests and tools link this.
add_library(cv_all INTERFACE)
target_link_libraries(cv_all INTERFACE cv_chainer)
