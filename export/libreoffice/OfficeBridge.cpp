// The LibreOffice plugin: the calls of OfficeBridge.h on the office's typed UNO interfaces.

#include "OfficeBridge.h"

#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextGraphicObjectsSupplier.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>
#include <rtl/ustring.hxx>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

using namespace com::sun::star;
using com::sun::star::uno::Reference;
using com::sun::star::uno::UNO_QUERY;
using com::sun::star::uno::UNO_QUERY_THROW;
using rtl::OUString;
using rtl::OUStringToOString;

struct VoSession {
    Reference<uno::XComponentContext> local;
    Reference<uno::XComponentContext> remote;
    Reference<frame::XDesktop2> desktop;
    // The document this session created last; the only one it reads, fills or closes.
    Reference<lang::XComponent> document;
    int kind = -1;
};

namespace {

OUString fromUtf8(const char* text) {
    return OUString(text, static_cast<sal_Int32>(std::strlen(text)), RTL_TEXTENCODING_UTF8);
}

char* copyText(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

char* copyText(const OUString& text) {
    return copyText(std::string(OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr()));
}

// Whether a failure says that the connection to the office is lost: the bridge in this process
// raises it, with itself as the context, for a call it can no longer send or that the office's end
// left unanswered (the office ended, was killed, or closed the connection). The context of a
// failure the office raised (a document closed under us) lives in the office: asking it fails in
// turn when the connection has just been lost.
bool connectionLost(const lang::DisposedException& failure) {
    try {
        return Reference<bridge::XBridge>(failure.Context, UNO_QUERY).is();
    } catch (const uno::RuntimeException&) {
        return true;
    }
}

// Runs one call of the interface; any failure becomes the office's own text.
template <typename Call> int guarded(char** error, Call&& call) {
    std::string message;
    int result = VO_FAILED;
    try {
        call();
        return VO_OK;
    } catch (const lang::DisposedException& failure) {
        message = OUStringToOString(failure.Message, RTL_TEXTENCODING_UTF8).getStr();
        if (connectionLost(failure))
            result = VO_GONE;
        else if (message.empty())
            message = "LibreOffice: ошибка без описания";
    } catch (const uno::Exception& failure) {
        message = OUStringToOString(failure.Message, RTL_TEXTENCODING_UTF8).getStr();
        if (message.empty())
            message = "LibreOffice: ошибка без описания";
    } catch (const std::exception& failure) {
        message = failure.what();
    } catch (...) {
        message = "LibreOffice: неизвестная ошибка";
    }
    if (error)
        *error = copyText(message);
    return result;
}

[[noreturn]] void fail(const char* text) {
    throw uno::RuntimeException(fromUtf8(text));
}

Reference<frame::XModel> activeModel(VoSession* session, int kind) {
    if (!session->document.is() || session->kind != kind)
        fail(kind == VO_SPREADSHEET ? "Нет открытой книги" : "Нет открытого документа");
    return Reference<frame::XModel>(session->document, UNO_QUERY_THROW);
}

Reference<sheet::XSpreadsheet> sheetOf(VoSession* session, int index) {
    Reference<sheet::XSpreadsheetDocument> document(activeModel(session, VO_SPREADSHEET), UNO_QUERY_THROW);
    Reference<container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    if (index < 0 || index >= sheets->getCount())
        fail("Недопустимый номер листа");
    return Reference<sheet::XSpreadsheet>(sheets->getByIndex(index), UNO_QUERY_THROW);
}

Reference<table::XCell> cellOf(VoSession* session, int sheet, int row, int column) {
    if (row < 0 || column < 0)
        fail("Недопустимый адрес ячейки");
    return sheetOf(session, sheet)->getCellByPosition(column, row);
}

void disposeLocal(Reference<uno::XComponentContext>& local) {
    Reference<lang::XComponent> component(local, UNO_QUERY);
    local.clear();
    if (component.is())
        component->dispose();
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int vo_version(void) {
    return VO_BRIDGE_VERSION;
}

__attribute__((visibility("default"))) void vo_free_text(char* text) {
    std::free(text);
}

__attribute__((visibility("default"))) int vo_connect(const char* pipe, int timeoutMs, VoSession** session,
                                                      char** error) {
    *session = nullptr;
    // An office that ends while we talk to it closes the pipe under us; the write must fail with
    // an error, not end the program through SIGPIPE.
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGPIPE, SIG_IGN);
    auto* created = new VoSession;
    bool listening = true;
    const int result = guarded(error, [&] {
        // Without the bootstrap file the local runtime finds no services (Desktop::create crashes).
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"),
                            OUString("vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc"));
        created->local = cppu::defaultBootstrap_InitialComponentContext();
        Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(created->local);
        const OUString url = "uno:pipe,name=" + fromUtf8(pipe) + ";urp;StarOffice.ComponentContext";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            try {
                created->remote.set(resolver->resolve(url), UNO_QUERY_THROW);
                break;
            } catch (const connection::NoConnectException&) {
                if (std::chrono::steady_clock::now() >= deadline) {
                    listening = false;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
            }
        }
        created->desktop = frame::Desktop::create(created->remote);
    });
    if (result != VO_OK || !listening) {
        created->desktop.clear();
        created->remote.clear();
        disposeLocal(created->local);
        delete created;
        return result != VO_OK ? result : VO_NOT_LISTENING;
    }
    *session = created;
    return VO_OK;
}

__attribute__((visibility("default"))) void vo_disconnect(VoSession* session) {
    if (!session)
        return;
    try {
        session->document.clear();
        session->desktop.clear();
        session->remote.clear();
        disposeLocal(session->local);
    } catch (...) {
        // The office may already be gone; there is nothing left to release then.
    }
    delete session;
}

__attribute__((visibility("default"))) int vo_new_document(VoSession* session, int kind, int visible,
                                                           char** error) {
    return guarded(error, [&] {
        const OUString factory =
            kind == VO_SPREADSHEET ? OUString("private:factory/scalc") : OUString("private:factory/swriter");
        uno::Sequence<beans::PropertyValue> arguments(1);
        arguments.getArray()[0].Name = "Hidden";
        arguments.getArray()[0].Value <<= !visible;
        Reference<lang::XComponent> document =
            session->desktop->loadComponentFromURL(factory, "_blank", 0, arguments);
        if (!document.is())
            fail("LibreOffice не создал документ");
        session->document = document;
        session->kind = kind;
        if (visible) {
            // The new window comes to the front, over our own window.
            Reference<frame::XModel> model(document, UNO_QUERY);
            Reference<frame::XController> controller = model.is() ? model->getCurrentController() : nullptr;
            Reference<frame::XFrame> frame = controller.is() ? controller->getFrame() : nullptr;
            Reference<awt::XTopWindow> window(frame.is() ? frame->getContainerWindow() : nullptr, UNO_QUERY);
            if (window.is())
                window->toFront();
        }
    });
}

__attribute__((visibility("default"))) int vo_sheet_count(VoSession* session, int* count, char** error) {
    return guarded(error, [&] {
        Reference<sheet::XSpreadsheetDocument> document(activeModel(session, VO_SPREADSHEET),
                                                        UNO_QUERY_THROW);
        Reference<container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
        *count = sheets->getCount();
    });
}

__attribute__((visibility("default"))) int vo_set_cell_number(VoSession* session, int sheet, int row,
                                                              int column, double value, char** error) {
    return guarded(error, [&] { cellOf(session, sheet, row, column)->setValue(value); });
}

__attribute__((visibility("default"))) int vo_set_cell_text(VoSession* session, int sheet, int row,
                                                            int column, const char* text, char** error) {
    return guarded(error, [&] {
        // The cell's text, not its formula: a text that starts with "=" stays that text and is
        // never calculated (a formula could fetch addresses of the network or read other files).
        Reference<text::XText> cell(cellOf(session, sheet, row, column), UNO_QUERY_THROW);
        cell->setString(fromUtf8(text));
    });
}

__attribute__((visibility("default"))) int vo_wrap_selection(VoSession* session, int wrap, char** error) {
    return guarded(error, [&] {
        Reference<frame::XModel> model = activeModel(session, VO_SPREADSHEET);
        Reference<view::XSelectionSupplier> controller(model->getCurrentController(), UNO_QUERY_THROW);
        Reference<beans::XPropertySet> selection(controller->getSelection(), UNO_QUERY);
        if (!selection.is())
            fail("Выделение не является диапазоном ячеек");
        selection->setPropertyValue("IsTextWrapped", uno::Any(wrap != 0));
    });
}

__attribute__((visibility("default"))) int vo_add_picture(VoSession* session, const char* path, int link,
                                                          char** error) {
    return guarded(error, [&] {
        if (link)
            fail("Связанные рисунки не поддерживаются");
        Reference<frame::XModel> model = activeModel(session, VO_TEXT_DOCUMENT);
        OUString url;
        if (osl::FileBase::getFileURLFromSystemPath(fromUtf8(path), url) != osl::FileBase::E_None)
            fail("Недопустимое имя файла рисунка");
        Reference<graphic::XGraphicProvider> provider = graphic::GraphicProvider::create(session->remote);
        uno::Sequence<beans::PropertyValue> media(1);
        media.getArray()[0].Name = "URL";
        media.getArray()[0].Value <<= url;
        Reference<graphic::XGraphic> picture = provider->queryGraphic(media);
        if (!picture.is())
            fail("Не удалось прочитать файл рисунка");

        // The picture keeps its own size: its stated physical size, else 96 pixels to the inch.
        Reference<beans::XPropertySet> pictureProperties(picture, UNO_QUERY_THROW);
        awt::Size size;
        pictureProperties->getPropertyValue("Size100thMM") >>= size;
        if (size.Width <= 0 || size.Height <= 0) {
            awt::Size pixels;
            pictureProperties->getPropertyValue("SizePixel") >>= pixels;
            size = awt::Size(pixels.Width * 2540 / 96, pixels.Height * 2540 / 96);
        }

        Reference<lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
        Reference<text::XTextContent> shape(factory->createInstance("com.sun.star.text.TextGraphicObject"),
                                            UNO_QUERY_THROW);
        Reference<beans::XPropertySet> shapeProperties(shape, UNO_QUERY_THROW);
        shapeProperties->setPropertyValue("AnchorType", uno::Any(text::TextContentAnchorType_AS_CHARACTER));
        shapeProperties->setPropertyValue("Graphic", uno::Any(picture));
        shapeProperties->setPropertyValue("Size", uno::Any(size));

        Reference<text::XTextViewCursorSupplier> controller(model->getCurrentController(), UNO_QUERY_THROW);
        Reference<text::XTextViewCursor> cursor = controller->getViewCursor();
        Reference<text::XTextRange> position(cursor, UNO_QUERY_THROW);
        cursor->getText()->insertTextContent(position, shape, false);
    });
}

__attribute__((visibility("default"))) int vo_read_cell(VoSession* session, int sheet, int row, int column,
                                                        int* type, char** text, double* value, int* wrapped,
                                                        char** error) {
    *text = nullptr;
    return guarded(error, [&] {
        Reference<table::XCell> cell = cellOf(session, sheet, row, column);
        switch (cell->getType()) {
        case table::CellContentType_VALUE:
            *type = VO_CELL_NUMBER;
            break;
        case table::CellContentType_TEXT:
            *type = VO_CELL_TEXT;
            break;
        case table::CellContentType_FORMULA:
            *type = VO_CELL_FORMULA;
            break;
        default:
            *type = VO_CELL_EMPTY;
        }
        *value = cell->getValue();
        Reference<text::XText> shown(cell, UNO_QUERY_THROW);
        Reference<beans::XPropertySet> properties(cell, UNO_QUERY_THROW);
        bool isWrapped = false;
        properties->getPropertyValue("IsTextWrapped") >>= isWrapped;
        *wrapped = isWrapped ? 1 : 0;
        *text = copyText(shown->getString());
    });
}

__attribute__((visibility("default"))) int vo_pictures(VoSession* session, int* count, int* linked,
                                                       int* widthPixels, int* heightPixels, char** error) {
    return guarded(error, [&] {
        Reference<text::XTextGraphicObjectsSupplier> document(activeModel(session, VO_TEXT_DOCUMENT),
                                                              UNO_QUERY_THROW);
        Reference<container::XNameAccess> pictures = document->getGraphicObjects();
        const uno::Sequence<OUString> names = pictures->getElementNames();
        *count = names.getLength();
        *linked = 0;
        *widthPixels = *heightPixels = 0;
        if (names.getLength() == 0)
            return;
        Reference<beans::XPropertySet> shape(pictures->getByName(names[0]), UNO_QUERY_THROW);
        Reference<graphic::XGraphic> picture;
        shape->getPropertyValue("Graphic") >>= picture;
        Reference<beans::XPropertySet> properties(picture, UNO_QUERY_THROW);
        bool isLinked = false;
        properties->getPropertyValue("Linked") >>= isLinked;
        *linked = isLinked ? 1 : 0;
        awt::Size pixels;
        properties->getPropertyValue("SizePixel") >>= pixels;
        *widthPixels = pixels.Width;
        *heightPixels = pixels.Height;
    });
}

__attribute__((visibility("default"))) int vo_close_document(VoSession* session, char** error) {
    return guarded(error, [&] {
        Reference<util::XCloseable> document(session->document, UNO_QUERY);
        session->document.clear();
        session->kind = -1;
        if (document.is())
            document->close(true);
    });
}

__attribute__((visibility("default"))) int vo_terminate(VoSession* session, char** error) {
    return guarded(error, [&] {
        session->document.clear();
        try {
            if (!session->desktop->terminate())
                fail("LibreOffice отказался завершить работу");
        } catch (const lang::DisposedException&) {
            // The office went away while answering: that is the end asked for.
        }
    });
}

} // extern "C"
