/* Memory layout of the exchange between a running program and its debugger.
 *
 * A debugger may include this header on its own (plain C or C++, no other
 * runtime header needed). The program names the address of its DebugBlock in
 * the "BP<hex>" text of every break; the debugger then reads and writes the
 * block, the breakpoint tables and the variable records in the program's
 * memory (process_vm_readv / process_vm_writev on Linux) while the program
 * waits for its answer.
 *
 * Pointer fields have the native width (8 bytes on 64-bit Linux); every
 * offset below is for that target and is checked by the runtime at build
 * time. All numbers are little-endian.
 */
#ifndef ORVALE_CORE_DEBUG_LAYOUT_H
#define ORVALE_CORE_DEBUG_LAYOUT_H

#include <stdint.h>

#define DEBUG_BREAKPOINT_CAPACITY 1024 /* entries of each breakpoint table */
#define DEBUG_GLOBAL_CAPACITY 1024     /* records of the global registry */
#define DEBUG_LOCAL_CAPACITY 64        /* records of one procedure's local table */

/* Kinds of a registered variable. */
#define DEBUG_VAR_NUMBER 0 /* address holds a double */
#define DEBUG_VAR_STRING 1 /* address holds a BasicString (layout below) */
#define DEBUG_VAR_ARRAY 2  /* address holds a BasicArray of doubles (layout below) */

/* One registered variable. 24 bytes:
 *   0 name     address of the NUL-terminated name ("loc", "info_Str")
 *   8 kind     DEBUG_VAR_NUMBER, DEBUG_VAR_STRING or DEBUG_VAR_ARRAY
 *  12 reserved padding, 0
 *  16 address  address of the variable's value */
struct DebugVarRecord {
  const char* name;
  uint32_t kind;
  uint32_t reserved;
  void* address;
};

/* The exchange block. 64 bytes:
 *   0 breakpointCount     u32, debugger: valid entries in the tables; read as
 *                         signed, <= 0 is none, more than the capacity is
 *                         taken as the capacity
 *   4 globalCount         u32, program: records of the global registry
 *   8 localCount          u32, program: records of the current local table
 *  12 breakEveryStatement u32, debugger: non-zero breaks before every statement
 *  16 sourceFile          u32, program: file of the statement about to run
 *                         (0 main file, 1 Part One, 2 Part Two)
 *  20 line                u32, program: its line
 *  24 stopRequest         u32, debugger: non-zero ends the program at the
 *                         next break
 *  28 stepMode            s32, program clears it before each break; the
 *                         debugger sets it during the break: < 0 step out,
 *                         0 run, > 0 step
 *  32 breakpointFiles     u32[DEBUG_BREAKPOINT_CAPACITY], file of entry i
 *  40 breakpointLines     u32[DEBUG_BREAKPOINT_CAPACITY], line of entry i
 *  48 globalRecords       first DebugVarRecord of the global registry
 *  56 localRecords        first DebugVarRecord of the current local table */
struct DebugBlock {
  uint32_t breakpointCount;
  uint32_t globalCount;
  uint32_t localCount;
  uint32_t breakEveryStatement;
  uint32_t sourceFile;
  uint32_t line;
  uint32_t stopRequest;
  int32_t stepMode;
  uint32_t* breakpointFiles;
  uint32_t* breakpointLines;
  struct DebugVarRecord* globalRecords;
  struct DebugVarRecord* localRecords;
};

/* BasicString (kind 1), 16 bytes: text pointer, capacity, length. The text
 * is not always NUL-terminated inside its capacity; read `length` bytes. */
#define DEBUG_STRING_BUFFER_OFFSET 0
#define DEBUG_STRING_CAPACITY_OFFSET 8
#define DEBUG_STRING_LENGTH_OFFSET 12

/* BasicArray of doubles (kind 2): element pointer (null when never
 * dimensioned), 16 inline doubles, three strides, four sizes, dimension
 * count, capacity. Element (i, j, k, l) is
 * data[i + j * stride1 + k * stride2 + l * stride3]. */
#define DEBUG_ARRAY_DATA_OFFSET 0
#define DEBUG_ARRAY_STRIDE1_OFFSET 136
#define DEBUG_ARRAY_SIZE0_OFFSET 148 /* size0..size3 follow, 4 bytes each */
#define DEBUG_ARRAY_DIMENSIONS_OFFSET 164
#define DEBUG_ARRAY_CAPACITY_OFFSET 168

/* Messages on the link (see platform/debug_link.h): each is a text followed
 * by one NUL byte. "BP" + the block address in lower-case hex without prefix
 * or leading zeros: the program waits until the debugger writes one byte
 * back. "TX" + program text: no answer is awaited. */

#endif
