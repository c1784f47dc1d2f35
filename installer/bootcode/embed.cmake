# cmake -DINPUT=bootcode.bin -DOUTPUT=bootcode_blob.cpp -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from the boot code's NASM output; do not edit.\n"
  "#include \"installer/bootcode/bootcode_blob.h\"\n\n"
  "namespace bootcode {\n\nconst unsigned char kImage[] = {\n${bytes}\n};\n"
  "const std::size_t kImageSize = ${size};\n\n} // namespace bootcode\n")
