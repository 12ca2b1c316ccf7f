# One static library per folder and kind (core or widgets). Each library sees only its own headers
# and those of the libraries it links, through an include root of its own in the build tree: an
# include that points back up the layering finds no header and the build stops there.
#
#   qav_library(<target> [DIR core|widgets] [DEPENDS <targets>...])
#
# DIR names the subfolder of the current folder that holds the sources (none: the folder itself).
function(qav_library target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DIR" "DEPENDS")
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(source_dir ${CMAKE_CURRENT_SOURCE_DIR})
  set(include_name ${folder})
  if(arg_DIR)
    set(source_dir ${source_dir}/${arg_DIR})
    set(include_name ${folder}/${arg_DIR})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${source_dir}/*.cpp ${source_dir}/*.h)
  add_library(${target} STATIC ${sources})

  # The include root holds a single link, <root>/<folder>/<dir> -> the source folder, so that the
  # sources keep including "folder/dir/Header.h". Where links cannot be made (Windows without the
  # privilege) the folder is copied at configure time.
  set(include_root ${PROJECT_BINARY_DIR}/include/${target})
  set(link ${include_root}/${include_name})
  get_filename_component(link_parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${link_parent})
  if(NOT EXISTS ${link})
    file(CREATE_LINK ${source_dir} ${link} SYMBOLIC COPY_ON_ERROR)
  endif()
  target_include_directories(${target} PUBLIC ${include_root})
  target_link_libraries(${target} PUBLIC ${arg_DEPENDS})
  qav_warnings(${target})
  if(target MATCHES "_widgets$")
    qav_precompiled(${target} widgets)
  else()
    qav_precompiled(${target} core)
  endif()
endfunction()
