// The shared unit every window includes: the shared record, the engine gateway, the settings,
// the text-file helpers, the error types and the Ui interface.
#pragma once

#include "compilation.h"
#include "context.h"
#include "documents.h"
#include "errors.h"
#include "gateway.h"
#include "goals.h"
#include "numbers.h"
#include "objects.h"
#include "project.h"
#include "records.h"
#include "rule_files.h"
#include "run_parameters.h"
#include "settings.h"
#include "string_functions.h"
#include "task_run.h"
#include "text_file.h"
#include "ui.h"
