#include "printing/pdf_file_surface.h"

#include <QBuffer>
#include <QPdfWriter>

#include "database/replace_file.h"
#include "model/user_feedback.h"
#include "printing/qt_page_surface.h"

namespace tarn {

std::unique_ptr<PrintSurface> pdfFileSurface(const std::filesystem::path& path) {
    // The buffer outlives the writer: the surface owns the writer, the hooks own the buffer.
    auto buffer = std::make_shared<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    auto writer = std::make_unique<QPdfWriter>(buffer.get());
    QtPageSurface::Hooks hooks;
    hooks.toFile = true;
    hooks.nameDocument = [](QPagedPaintDevice& device, const QString& name) {
        static_cast<QPdfWriter&>(device).setTitle(name);
    };
    hooks.deliver = [buffer, path] {
        ReplacingFile file(path);
        const QByteArray& bytes = buffer->data();
        file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        const ReplaceResult result = file.commit();
        const std::string refusal = replaceRefusalText(result, path, file.keptCopy());
        if (!refusal.empty()) showError(MessageOwner::none(), refusal);
        return result == ReplaceResult::Written;
    };
    return std::make_unique<QtPageSurface>(std::move(writer), std::move(hooks));
}

}  // namespace tarn
