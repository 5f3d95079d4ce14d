#pragma once

/* The plain C interface of the LibreOffice plugin (libveltrona_libreoffice.so). The program loads
   the plugin at its first office export and never links the office's libraries itself, so that it
   builds and runs where LibreOffice is absent. No C++ exception crosses this interface.

   Every call that can fail returns VO_OK, or VO_FAILED with *error set to a UTF-8 text (free it
   with vo_free_text), or VO_GONE when the connection to the office was lost during the call (the
   office ended, or its end of the connection closed); *error then holds the office's text.
   Texts passed in are UTF-8. A session belongs to one thread at a time. */

#ifdef __cplusplus
extern "C" {
#endif

#define VO_BRIDGE_VERSION 2

enum { VO_OK = 0, VO_FAILED = 1, VO_NOT_LISTENING = 2, VO_GONE = 3 };
enum { VO_SPREADSHEET = 0, VO_TEXT_DOCUMENT = 1 };
enum { VO_CELL_EMPTY = 0, VO_CELL_NUMBER = 1, VO_CELL_TEXT = 2, VO_CELL_FORMULA = 3 };

typedef struct VoSession VoSession;

typedef int (*vo_version_fn)(void);
typedef void (*vo_free_text_fn)(char* text);
/* Connects to an office that accepts connections on the named pipe, trying every 25 ms until
   timeoutMs has passed. VO_NOT_LISTENING when nobody listened there in that time. */
typedef int (*vo_connect_fn)(const char* pipe, int timeoutMs, VoSession** session, char** error);
/* Drops every reference of the session; the office and its documents stay as they are. */
typedef void (*vo_disconnect_fn)(VoSession* session);

/* A new document of the kind, shown when `visible`; it becomes the session's active document. */
typedef int (*vo_new_document_fn)(VoSession* session, int kind, int visible, char** error);
/* The number of sheets of the active spreadsheet. */
typedef int (*vo_sheet_count_fn)(VoSession* session, int* count, char** error);
/* Writes a number into a cell of a sheet (all from 0). */
typedef int (*vo_set_cell_number_fn)(VoSession* session, int sheet, int row, int column, double value,
                                     char** error);
/* Writes a text into a cell of a sheet (all from 0) exactly as it stands: the office never reads it
   as a number or a formula. The empty text leaves the cell empty. */
typedef int (*vo_set_cell_text_fn)(VoSession* session, int sheet, int row, int column, const char* text,
                                   char** error);
/* Turns text wrapping of the active spreadsheet's current selection on or off. */
typedef int (*vo_wrap_selection_fn)(VoSession* session, int wrap, char** error);
/* Inserts the picture file at the cursor of the active text document, embedded or linked. */
typedef int (*vo_add_picture_fn)(VoSession* session, const char* path, int link, char** error);

/* For tests and measurement: what a document holds, and the clean-up of what they created. */
typedef int (*vo_read_cell_fn)(VoSession* session, int sheet, int row, int column, int* type, char** text,
                               double* value, int* wrapped, char** error);
typedef int (*vo_pictures_fn)(VoSession* session, int* count, int* linked, int* widthPixels,
                              int* heightPixels, char** error);
/* Closes the session's active document (only a document the session created). */
typedef int (*vo_close_document_fn)(VoSession* session, char** error);
/* Ends the office; only for an office that the caller started itself. */
typedef int (*vo_terminate_fn)(VoSession* session, char** error);

#ifdef __cplusplus
}
#endif
