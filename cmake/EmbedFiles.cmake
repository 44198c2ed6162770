# velmora_embed_files(TARGET HEADER DIRECTORY): every file in DIRECTORY, byte
# for byte, in a generated header that TARGET can include as HEADER. It
# defines velmora::embedded::File(name), the contents of the file `name` (an
# empty view for an unknown name). The files are read again when they change.
function(velmora_embed_files target header directory)
  file(GLOB files CONFIGURE_DEPENDS ${directory}/*)
  set(entries "")
  foreach(path ${files})
    get_filename_component(name ${path} NAME)
    file(READ ${path} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
    string(APPEND entries "    {\"${name}\", std::string_view(\"${escaped}\", ${size})},\n")
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}/${header})
  file(CONFIGURE OUTPUT ${out} CONTENT "#pragma once
// Generated from ${directory} by cmake/EmbedFiles.cmake.
#include <string_view>
#include <utility>

namespace velmora::embedded {

inline std::string_view File(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kFiles[] = {
${entries}        {\"\", std::string_view()}};
    for (const auto& [fileName, contents] : kFiles) {
        if (fileName == name) return contents;
    }
    return {};
}

}  // namespace velmora::embedded
" @ONLY)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/embedded/${target})
endfunction()
