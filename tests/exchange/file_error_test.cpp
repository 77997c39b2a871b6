#include "file_error.h"

#include <gtest/gtest.h>

#include <system_error>

namespace transzendal {
namespace {

// A write past the file-size limit (EFBIG) was shown as "error del sistema n.º 27".
TEST(FileErrorText, AFileSizeLimitIsExplainedNotNumbered) {
  EXPECT_EQ(FileErrorText(std::make_error_code(std::errc::file_too_large)),
            "el archivo ha llegado al tamaño máximo que el sistema permite escribir");
  EXPECT_EQ(FileErrorText(std::make_error_code(std::errc::no_space_on_device)),
            "el disco está lleno");
  EXPECT_EQ(FileErrorText(std::make_error_code(std::errc::is_a_directory)),
            "es una carpeta, no un archivo");
  EXPECT_EQ(FileErrorText(std::make_error_code(std::errc::broken_pipe)),
            "error del sistema n.º " +
                std::to_string(std::make_error_code(std::errc::broken_pipe).value()));
}

}  // namespace
}  // namespace transzendal
