#pragma once

#define IDS_TEST_PROMPT 7101
