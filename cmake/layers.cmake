# zorv_layer(NAME [FOLDER folder] SOURCES ... [LINKS target ...]) makes the static library zorv_NAME from
# the sources of src/FOLDER (NAME by default), whose headers are included as "FOLDER/...". Each layer's
# include root holds links to its own folder's entries and nothing else (not its qt/ folder, a layer of its
# own), so a file sees the headers of the layers its target links and no others: an include of a layer
# above fails the build.
function(zorv_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "FOLDER" "SOURCES;LINKS")
  if(NOT layer_FOLDER)
    set(layer_FOLDER ${name})
  endif()
  set(source ${PROJECT_SOURCE_DIR}/src/${layer_FOLDER})
  set(root ${PROJECT_BINARY_DIR}/include-roots/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${layer_FOLDER})
  # A file added to the folder configures the build again, and so gets its link.
  file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${source} ${source}/*)
  list(REMOVE_ITEM entries qt)
  foreach(entry IN LISTS entries)
    file(CREATE_LINK ${source}/${entry} ${root}/${layer_FOLDER}/${entry} SYMBOLIC)
  endforeach()

  add_library(zorv_${name} STATIC ${layer_SOURCES})
  target_include_directories(zorv_${name} PUBLIC ${root})
  target_link_libraries(zorv_${name} PUBLIC ${layer_LINKS})
endfunction()
