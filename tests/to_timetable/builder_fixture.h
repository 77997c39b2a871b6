// A forward run's context for testing table builders one by one: a school read from text, a
// temporary table folder, a scripted user interface, and the written tables read back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange_table.h"
#include "fake_ui.h"
#include "school_reader.h"
#include "table_builder.h"
#include "temp_dir.h"
#include "text.h"

namespace transzendal::testing {

class BuilderTest : public ::testing::Test {
 protected:
  // The context of a run on the school `body` (inside datosZPH, UTF-8).
  ForwardRunContext& Run(std::string_view body) {
    school_ = std::make_unique<SchoolModel>(ReadSchoolBytes(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><datosZPH>" + std::string(body) + "</datosZPH>",
        "centro.xml"));
    context_ = std::make_unique<ForwardRunContext>(ForwardRunContext{
        *school_, dir_.path(), ui_, report_, std::chrono::year{2026} / 12 / 10, ',', std::nullopt});
    return *context_;
  }

  // The values of `fields` (joined by ";") in every record of `table`, in stored order, UTF-8.
  std::vector<std::vector<std::string>> Rows(std::string_view table, std::string_view fields) {
    std::vector<std::string> names;
    for (std::size_t start = 0;;) {
      const std::size_t end = fields.find(';', start);
      names.emplace_back(fields.substr(start, end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    ExchangeTable read = ExchangeTable::Open(dir_.path(), table, TableAccess::kRead, ',');
    std::vector<std::vector<std::string>> rows;
    for (read.First(); !read.AtEnd(); read.Next()) {
      std::vector<std::string> row;
      for (const auto& name : names) row.push_back(Windows1252ToUtf8(read.ReadText(name)));
      rows.push_back(std::move(row));
    }
    return rows;
  }

  // One column of `table`.
  std::vector<std::string> Column(std::string_view table, std::string_view field) {
    std::vector<std::string> column;
    for (auto& row : Rows(table, field)) column.push_back(std::move(row[0]));
    return column;
  }

  TempDir dir_;
  FakeUi ui_;
  RunReport report_;
  std::unique_ptr<SchoolModel> school_;
  std::unique_ptr<ForwardRunContext> context_;
};

}  // namespace transzendal::testing
