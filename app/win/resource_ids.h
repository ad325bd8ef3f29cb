#pragma once
// The application icon; the buttons' icons are named resources (KW_GRAVAR, ...).
#define IDI_ORVALEN 1
