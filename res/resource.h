// Numbers of the program's resources and of the controls in its dialogs,
// shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128

#define IDD_ABOUTBOX 100
#define IDD_MODULE 130
#define IDD_DRAM_TIMING 134
#define IDD_GENERAL 135

// General page
#define IDC_INPUT_ROM 1000
#define IDC_OUTPUT_ROM 1001
#define IDC_BROWSE_INPUT_ROM 1002
#define IDC_BROWSE_OUTPUT_ROM 1003
#define IDC_BROWSE_LOGO 1004
#define IDC_LOGO_FILE 1005
#define IDC_PALETTE_FILE 1010
#define IDC_BROWSE_PALETTE 1011
#define IDC_CHANGE_LOGO 1020

// DRAM Timing page
#define IDC_DRAM_DIVISOR 1018

// Insert Module page
#define IDC_ADD_MODULE 1021
#define IDC_MODULE_FILE 1022
#define IDC_BROWSE_MODULE 1023

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
