# cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DNAMESPACE=NAME -P EmbedFile.cmake
# Writes a C++ source that defines NAME::bytes[] (the file's bytes) and NAME::size.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# 16 bytes to a line.
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
     "// Generated at build time from ${name}; do not edit.\n"
     "#include <cstddef>\n\n"
     "namespace ${NAMESPACE}\n{\n"
     "extern const unsigned char bytes[];\n"
     "extern const std::size_t size;\n\n"
     "const unsigned char bytes[] = {\n    ${bytes}\n};\n"
     "const std::size_t size = ${size};\n"
     "} // namespace ${NAMESPACE}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
