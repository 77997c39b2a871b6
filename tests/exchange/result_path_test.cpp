#include "result_path.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform.h"

namespace transzendal {
namespace {

std::string ResultFor(std::string_view source) {
  return platform::PathToUtf8(ResultFilePath(platform::PathFromUtf8(source)));
}

TEST(ResultFilePath, PrefixesTheFileNameInTheSameFolder) {
  EXPECT_EQ(ResultFor("/home/centro/datos.xml"), "/home/centro/ResultadoZendaldatos.xml");
  EXPECT_EQ(ResultFor("centro/Año 2024.xml"), "centro/ResultadoZendalAño 2024.xml");
  EXPECT_EQ(ResultFor("datos.xml"), "ResultadoZendaldatos.xml");
  EXPECT_EQ(ResultFor("/centro/ResultadoZendaldatos.xml"),
            "/centro/ResultadoZendalResultadoZendaldatos.xml");
}

TEST(ResultFilePath, TheFolderPartEndsAtTheLastSeparator) {
  EXPECT_EQ(ResultFor("/centro/2024/"), "/centro/2024/ResultadoZendal");
  EXPECT_EQ(ResultFor("/centro//datos.xml"), "/centro//ResultadoZendaldatos.xml");
  EXPECT_EQ(ResultFor("/centro/../datos.xml"), "/centro/../ResultadoZendaldatos.xml");
}

#ifdef _WIN32
TEST(ResultFilePath, WindowsSeparatesFoldersWithBackslashSlashAndDriveColon) {
  EXPECT_EQ(ResultFor("D:\\escuela\\datos.xml"), "D:\\escuela\\ResultadoZendaldatos.xml");
  EXPECT_EQ(ResultFor("D:\\escuela/2024/datos.xml"), "D:\\escuela/2024/ResultadoZendaldatos.xml");
  EXPECT_EQ(ResultFor("D:datos.xml"), "D:ResultadoZendaldatos.xml");
}
#else
TEST(ResultFilePath, OnPosixSystemsBackslashAndColonArePartOfTheName) {
  EXPECT_EQ(ResultFor("/centro/D:\\escuela\\datos.xml"),
            "/centro/ResultadoZendalD:\\escuela\\datos.xml");
  EXPECT_EQ(ResultFor("D:datos.xml"), "ResultadoZendalD:datos.xml");
}
#endif

}  // namespace
}  // namespace transzendal
