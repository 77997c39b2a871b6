// Checks that a call throws RunError with exactly the expected user message.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "run_error.h"

#define EXPECT_RUN_ERROR(statement, expected_message)                      \
  do {                                                                     \
    try {                                                                  \
      statement;                                                           \
      ADD_FAILURE() << "no RunError from: " #statement;                    \
    } catch (const ::transzendal::RunError& error) {                       \
      EXPECT_EQ(std::string(error.user_message()), (expected_message));    \
    }                                                                      \
  } while (false)
